// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

class QCategoryAxis;
class QChart;

namespace zerwa {

// The bottom axis: point k stands at x = k and carries the text of rpm row k + 1. Only as many
// labels are drawn as fit side by side; the texts themselves are kept whole.
class RpmAxis : public QObject {
    Q_OBJECT
public:
    RpmAxis(QChart* chart, int pointCount, QObject* parent = nullptr);

    QCategoryAxis* axis() const { return m_axis; }
    void setLabels(const QStringList& labels);
    const QStringList& labels() const { return m_labels; }
    // Every how many points a label is drawn, for the chart's current width.

private:
    int stepForWidth() const;
    void rebuild();
    void onPlotAreaChanged();

    QChart* m_chart;
    QCategoryAxis* m_axis;
    int m_pointCount;
    QStringList m_labels;
    int m_widestLabel = 0;
    int m_step = 1;
};

} // namespace zerwa
