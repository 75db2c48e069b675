// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/numberformat.h"
#include "core/model/variantprofile.h"
#include "document/model/chartsink.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

#include <optional>

class QChart;
class QLineSeries;
class QValueAxis;

namespace zerwa {

class MapChartView;
class RpmAxis;

// The chart (Chart1) that mirrors the map table: one line per map column over the rpm rows,
// point k of every line at x = k. It never writes the table; it re-reads it when asked. A
// refresh reads every cell it covers, every time.
class ChartMirror : public QObject, public ChartSink {
    Q_OBJECT
public:
    ChartMirror(const VariantProfile& profile, QWidget* window);
    ~ChartMirror() override;

    MapChartView* view() const { return m_view; }
    QChart* chart() const { return m_chart; }
    int seriesCount() const { return int(m_series.size()); }
    // Series 1..L, as the form numbers them.
    QLineSeries* series(int number) const { return m_series.at(number - 1); }
    // The label of point k: the rpm text on Series1, empty on every other series.
    QString pointLabel(int seriesNumber, int point) const;
    const QStringList& rpmLabels() const;

    // Start-up: creates every point from the table (the only place points are created),
    // titles the lines, keeps the chart's geometry for the enlarge toggle and labels the rpm
    // axis. A data cell that is not a number is drawn at 0; the first such cell's conversion
    // error is returned so that start-up can report it and carry on.
    std::optional<ConversionError> populate(const MapTable& table,
                                            const NumberFormat& numbers) override;

    // Every point takes the number of its data cell. A cell that is not a number stops the
    // refresh there with a ConversionError; the points before it keep their new values.
    void refreshValues(const MapTable& table, const NumberFormat& numbers) override;
    // Line c takes the text of heading cell (c, 0) as its title.
    void refreshTitles(const MapTable& table) override;
    // Point k of Series1 takes the text of rpm cell (0, k + 1) as its label.
    void refreshRpmLabels(const MapTable& table) override;

    void setTitle(int seriesNumber, const QString& title) override;
    // Every point of one line takes the same value (the clear command's flat lines).
    void setAllValues(int seriesNumber, double value) override;

    // A comparison's reference drawn beside the map: its lines dashed, in the series' colours,
    // point k at x = k as the map's own, without legend entries. A cell that is not a number
    // leaves a gap in its line; nothing is ever reported. The map's own lines stay as they are.
    void showReference(const MapTable& reference, const NumberFormat& numbers);
    void hideReference();
    // The dashed lines, each an unbroken run of one column's points.
    const QList<QLineSeries*>& referenceLines() const { return m_referenceLines; }

    // The enlarge toggle: the chart takes over the left part of the window, or returns to
    // the geometry kept at start-up. Returns whether it is now enlarged.
    bool toggleEnlarged();

private:
    void applyValues(const QList<QList<qreal>>& values);

    const VariantProfile& m_profile;
    QWidget* m_window;
    QChart* m_chart;
    MapChartView* m_view;
    QValueAxis* m_valueAxis;
    RpmAxis* m_rpmAxis;
    QList<QLineSeries*> m_series;
    QList<QLineSeries*> m_referenceLines;
    QRect m_savedGeometry;
    bool m_enlarged = false;
};

} // namespace zerwa
