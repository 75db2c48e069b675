// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

#include <array>
#include <optional>

namespace zerwa {

// The fonts of the rpm column, narrow enough for five digits, plain and bold. The rpm text is
// drawn in three places: the header section (a pixel of margin each side), the cell (a pixel
// lost to the grid line, one of margin each side) and the editor (the grid line's pixel, two of
// margin each side and one for the cursor). Only the plain cell's font is needed at start;
// the others are fitted when first drawn.
class RpmFonts {
public:
    RpmFonts() = default;
    RpmFonts(const QFont& gridFont, int columnWidth);

    const QFont& cell(bool bold = false) const { return fitted(bold, false); }
    const QFont& editor(bool bold = false) const { return fitted(bold, true); }

    // The font made narrow enough for the widest rpm text in the given width: condensed
    // first, smaller only where condensing is not enough.
    static QFont fittedFont(QFont font, int width);

private:
    const QFont& fitted(bool bold, bool editor) const;

    QFont m_gridFont;
    int m_columnWidth = 0;
    mutable std::array<std::optional<QFont>, 4> m_fonts;
};

} // namespace zerwa
