// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zerwa {

struct EditContext;

// The commands that change many cells at once: the ten column steps of the grid's popup
// menu, the clear command and the slope fill. Each is one step of the history.
class ColumnCommands {
public:
    explicit ColumnCommands(EditContext& context);

    // Raises (positive) or lowers (negative) every data cell of the remembered cell's column.
    // A cell that is not a number stops the step there; the rows above keep their new texts.
    void step(double amount);
    // Asks first; then the table reset (with the axes in axis-edit mode), and the chart's
    // lines flat at their column numbers.
    void clear();
    // Asks for the slope and step count, then fills the rows below the remembered cell.
    void slopeFill();

private:
    EditContext& m_context;
};

} // namespace zerwa
