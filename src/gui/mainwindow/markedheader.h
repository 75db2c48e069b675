// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHeaderView>

namespace zerwa {

// A header of the map grid: while the axes are fixed, its sections are the rpm cells or the
// headings, and they show their cells' marks as the cells do.
class MarkedHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

} // namespace zerwa
