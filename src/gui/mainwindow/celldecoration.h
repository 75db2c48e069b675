// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QPainter;
class QRect;

namespace zerwa {

// What a cell or a settings field shows besides its text. The grid's model decides it for
// every cell in one place (MapTableModel::decoration), the settings panel for its fields, and
// the painters below draw it, so that no feature paints a cell on its own.
struct CellDecoration {
    // The background: the refused-value mark if there is one, else the value colour, else
    // none (the view's own).
    std::optional<QColor> background;
    // The text on that background, black or white by its brightness.
    std::optional<QColor> text;
    // The download check refused the value: besides its background, a sign that needs no
    // colour (a zigzag line under the text).
    bool refused = false;
    // The value differs from the comparison's reference: bold text and a corner mark.
    bool differs = false;
    QString toolTip;

    friend bool operator==(const CellDecoration&, const CellDecoration&) = default;
};

namespace celldecoration {

// The refused-value mark's background.
QColor refusedColour();
// The colour of the difference's corner mark.
QColor differenceColour();

// Data values on a cool-to-warm scale over 0,5 .. 63,5 that colour-blind people can read
// (ColorBrewer's RdYlBu, blue for low values, red for high ones).
QColor valueColour(double value);
// Black or white, whichever reads better on `background`.
QColor textColourOn(const QColor& background);

// Draws the marks that need no colour over a cell or a field: the corner mark of a difference
// and the sign of a refused value. `ink` is the colour the text is drawn in.
void paintMarks(QPainter& painter, const QRect& rect, const CellDecoration& decoration,
                const QColor& ink);

// The sides of an outline drawn inside a rectangle.
struct OutlineSides {
    bool left = true, top = true, right = true, bottom = true;
};
// The selection or the current cell, drawn as an outline that leaves the cell's own
// background to be seen: a line in the highlight colour, and inside it a thin line in `ink`,
// which shows on any background.
void paintOutline(QPainter& painter, const QRect& rect, const QColor& highlight, const QColor& ink,
                  OutlineSides sides = {});

} // namespace celldecoration

} // namespace zerwa
