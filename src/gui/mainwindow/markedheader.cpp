// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/markedheader.h"

#include "gui/mainwindow/maptablemodel.h"

#include <QPainter>

namespace zerwa {

void MarkedHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    const auto* map = qobject_cast<const MapTableModel*>(model());
    if (!map)
        return;
    const bool headings = orientation() == Qt::Horizontal;
    const CellDecoration decoration =
        map->decoration(headings ? logicalIndex : 0, headings ? 0 : logicalIndex);
    // The style leaves a clip of its own behind.
    painter->setClipRect(rect);
    celldecoration::paintMarks(*painter, rect, decoration,
                               decoration.text.value_or(palette().color(QPalette::ButtonText)));
}

} // namespace zerwa
