// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChartView>

namespace zerwa {

// The chart control (Chart1): a chart view that reports double clicks (the enlarge toggle),
// zooms into a dragged rectangle and returns to the whole table on a right click.
class MapChartView : public QChartView {
    Q_OBJECT
public:
    explicit MapChartView(QChart* chart, QWidget* parent = nullptr);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace zerwa
