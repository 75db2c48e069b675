// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/celldecoration.h"

#include "core/model/cellrules.h"

#include <QPainter>
#include <QPolygon>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace zerwa::celldecoration {

namespace {

// ColorBrewer RdYlBu with 11 classes, from its blue end to its red end.
const QColor kScale[] = {
    QColor(0x31, 0x36, 0x95), QColor(0x45, 0x75, 0xb4), QColor(0x74, 0xad, 0xd1),
    QColor(0xab, 0xd9, 0xe9), QColor(0xe0, 0xf3, 0xf8), QColor(0xff, 0xff, 0xbf),
    QColor(0xfe, 0xe0, 0x90), QColor(0xfd, 0xae, 0x61), QColor(0xf4, 0x6d, 0x43),
    QColor(0xd7, 0x30, 0x27), QColor(0xa5, 0x00, 0x26),
};

constexpr int kCornerMark = 7; // the triangle's legs, in pixels
constexpr int kOutlineWidth = 2;

double linear(double channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

QColor refusedColour() {
    return QColor(255, 170, 170);
}

QColor differenceColour() {
    return QColor(230, 97, 0);
}

QColor valueColour(double value) {
    constexpr int last = int(std::size(kScale)) - 1;
    const double t = std::clamp((value - cellrules::dataMinimum) /
                                    (cellrules::dataMaximum - cellrules::dataMinimum),
                                0.0, 1.0) *
                     last;
    const int low = std::min(int(t), last - 1);
    const double f = t - low;
    const QColor& a = kScale[low];
    const QColor& b = kScale[low + 1];
    return QColor(int(std::lround(a.red() + (b.red() - a.red()) * f)),
                  int(std::lround(a.green() + (b.green() - a.green()) * f)),
                  int(std::lround(a.blue() + (b.blue() - a.blue()) * f)));
}

QColor textColourOn(const QColor& background) {
    // Relative luminance; black reads better above about 0.18, where the contrasts meet.
    const double luminance = 0.2126 * linear(background.red()) +
                             0.7152 * linear(background.green()) +
                             0.0722 * linear(background.blue());
    return luminance > 0.179 ? QColor(Qt::black) : QColor(Qt::white);
}

void paintMarks(QPainter& painter, const QRect& rect, const CellDecoration& decoration,
                const QColor& ink) {
    if (!decoration.differs && !decoration.refused)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (decoration.differs) {
        // A triangle in the top right corner, edged in the text's colour.
        const QPoint corner = rect.topRight();
        const int leg = std::min({kCornerMark, rect.width() / 2, rect.height() / 2});
        const QPolygon triangle({corner, corner - QPoint(leg, 0), corner + QPoint(0, leg)});
        painter.setPen(ink);
        painter.setBrush(differenceColour());
        painter.drawPolygon(triangle);
    }
    if (decoration.refused) {
        // A zigzag under the left part of the text, as a spelling checker marks a word.
        const int y = rect.bottom() - 2;
        const int end = rect.left() + std::max(6, rect.width() * 3 / 5);
        QPolygon zigzag;
        for (int x = rect.left() + 2, i = 0; x <= end; x += 2, ++i)
            zigzag << QPoint(x, y + (i % 2 ? -2 : 0));
        painter.setPen(QPen(ink, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(zigzag);
    }
    painter.restore();
}

void paintOutline(QPainter& painter, const QRect& rect, const QColor& highlight, const QColor& ink,
                  OutlineSides sides) {
    painter.save();
    auto draw = [&painter, sides](const QRect& r, int width, const QColor& colour) {
        if (sides.left)
            painter.fillRect(QRect(r.left(), r.top(), width, r.height()), colour);
        if (sides.right)
            painter.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), colour);
        if (sides.top)
            painter.fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
        if (sides.bottom)
            painter.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
    };
    draw(rect, kOutlineWidth, highlight);
    // The inner line runs on through an open side, into the next cell's.
    const int w = kOutlineWidth;
    draw(rect.adjusted(sides.left ? w : 0, sides.top ? w : 0, sides.right ? -w : 0,
                       sides.bottom ? -w : 0),
         1, ink);
    painter.restore();
}

} // namespace zerwa::celldecoration
