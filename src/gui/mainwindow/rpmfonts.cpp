// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/rpmfonts.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>

namespace zerwa {

namespace {

const QString kWidestRpm = QStringLiteral("15000");

} // namespace

RpmFonts::RpmFonts(const QFont& gridFont, int columnWidth)
    : m_gridFont(gridFont)
    , m_columnWidth(columnWidth) {}

const QFont& RpmFonts::fitted(bool bold, bool editor) const {
    if (m_columnWidth <= 0) // not yet told the column's width: nothing to fit to
        return m_gridFont;
    std::optional<QFont>& font = m_fonts[size_t(bold) * 2 + size_t(editor)];
    if (!font) {
        QFont base = m_gridFont;
        base.setBold(bold);
        font = fittedFont(base, editor ? m_columnWidth - 1 - 2 * 2 - 1 : m_columnWidth - 1 - 2);
    }
    return *font;
}

QFont RpmFonts::fittedFont(QFont font, int width) {
    auto fits = [width](const QFont& candidate) {
        return QFontMetrics(candidate).horizontalAdvance(kWidestRpm) <= width;
    };
    // The font as it comes costs nothing to measure; every other stretch needs a font of its
    // own, which is slow to make. So a stretch is tried only when the text narrowed in
    // proportion would fit: glyphs fitted to whole pixels come out no narrower than that.
    if (fits(font))
        return font;
    const int natural = font.stretch() == QFont::AnyStretch ? 100 : font.stretch();
    const qreal naturalWidth = QFontMetricsF(font).horizontalAdvance(kWidestRpm);
    for (const int stretch : {100, 90, 85, 80}) {
        if (stretch == natural || naturalWidth * stretch / natural > width)
            continue;
        font.setStretch(stretch);
        if (fits(font))
            return font;
    }
    font.setStretch(80);
    while (!fits(font) && font.pointSizeF() > 5)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

} // namespace zerwa
