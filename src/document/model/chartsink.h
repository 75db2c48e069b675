// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/numberformat.h"
#include "document/model/chartrefresh.h"

#include <QString>

#include <optional>

namespace zerwa {

// The chart as the commands drive it: it mirrors the table only when a command asks it to.
class ChartSink {
public:
    virtual ~ChartSink() = default;

    // Start-up: creates the points from the table. A data cell that is not a number is drawn
    // at 0 and the first such cell's error is returned, so that start-up can go on.
    virtual std::optional<ConversionError> populate(const MapTable& table,
                                                    const NumberFormat& numbers) = 0;
    // Every point takes the number of its data cell; a cell that is not a number stops the
    // refresh there with a ConversionError.
    virtual void refreshValues(const MapTable& table, const NumberFormat& numbers) = 0;
    // Line c takes heading cell (c, 0) as its title.
    virtual void refreshTitles(const MapTable& table) = 0;
    // Point k of the first line takes rpm cell (0, k + 1) as its label.
    virtual void refreshRpmLabels(const MapTable& table) = 0;
    virtual void setTitle(int seriesNumber, const QString& title) = 0;
    // The refreshes an edit calls for, in the order a cell check runs them: titles, rpm
    // labels, values.
    void refresh(const ChartRefresh& refresh, const MapTable& table, const NumberFormat& numbers) {
        if (refresh.titles)
            refreshTitles(table);
        if (refresh.rpmLabels)
            refreshRpmLabels(table);
        if (refresh.values)
            refreshValues(table, numbers);
    }
    // Every point of one line takes the same value.
    virtual void setAllValues(int seriesNumber, double value) = 0;
};

// A chart that shows nothing, for a map edited without a window.
class NoChart : public ChartSink {
public:
    std::optional<ConversionError> populate(const MapTable&, const NumberFormat&) override {
        return std::nullopt;
    }
    void refreshValues(const MapTable&, const NumberFormat&) override {}
    void refreshTitles(const MapTable&) override {}
    void refreshRpmLabels(const MapTable&) override {}
    void setTitle(int, const QString&) override {}
    void setAllValues(int, double) override {}
};

} // namespace zerwa
