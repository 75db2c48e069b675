// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zerwa {

// Which of the chart's refreshes an edit calls for: the values of every point, the line
// titles (from the headings) and the rpm labels (from the rpm column).
struct ChartRefresh {
    bool values = false;
    bool titles = false;
    bool rpmLabels = false;

    bool any() const { return values || titles || rpmLabels; }
    ChartRefresh& operator|=(const ChartRefresh& other) {
        values = values || other.values;
        titles = titles || other.titles;
        rpmLabels = rpmLabels || other.rpmLabels;
        return *this;
    }
};

} // namespace zerwa
