// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/glyphs.h"

#include <QApplication>
#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

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

// Draws the glyph at the size it is shown in, when it is first shown, and keeps that picture.
class HelpGlyphEngine : public QIconEngine {
public:
    QIconEngine* clone() const override { return new HelpGlyphEngine(*this); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int side = qMax(1, qMin(size.width(), size.height()));
        if (m_picture.width() != side)
            m_picture = drawHelpGlyph(side);
        if (mode == QIcon::Normal || mode == QIcon::Active)
            return m_picture;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, m_picture, &option);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

private:
    QPixmap m_picture;
};

} // namespace

QIcon helpGlyph() {
    return QIcon(new HelpGlyphEngine);
}

} // namespace zerwa
