// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/glyphs.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace zerwa {

namespace {

QPixmap drawHelpGlyph(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 64, 160), size / 16.0 + 0.5));
    painter.setBrush(QColor(40, 110, 220));
    const qreal margin = size / 16.0 + 0.5;
    painter.drawEllipse(QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    QFont font;
    font.setBold(true);
    font.setPixelSize(int(size * 0.7));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

} // namespace

QIcon helpGlyph() {
    QIcon icon;
    for (const int size : {16, 18, 24, 32, 48})
        icon.addPixmap(drawHelpGlyph(size));
    return icon;
}

} // namespace zerwa
