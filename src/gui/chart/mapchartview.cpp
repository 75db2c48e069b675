// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/mapchartview.h"

#include <QMouseEvent>

namespace zerwa {

MapChartView::MapChartView(QChart* chart, QWidget* parent)
    : QChartView(chart, parent) {
    setObjectName(QStringLiteral("Chart1"));
    setRubberBand(QChartView::RectangleRubberBand);
    setRenderHint(QPainter::Antialiasing, false);
}

void MapChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

void MapChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        chart()->zoomReset();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

} // namespace zerwa
