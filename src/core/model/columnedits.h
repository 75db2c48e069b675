// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/numberformat.h"

#include <QString>

namespace zerwa::columnedits {

// One of the ten popup steps: + or - 0.5, 1, 2, 4 or 8.
struct Step {
    double amount = 0; // positive raises, negative lowers
};

// Raises or lowers every data cell (rows 1..R) of one map column by the step. A raise stops at
// 63.5 and a lower at 0.5; neither enforces the other bound, so values that came from a file
// outside the range move by the step. Every cell is rewritten in the general number form.
// A cell that is not a number stops the step with a ConversionError: the rows above it keep
// their new texts, it and the rows below their old ones.
void bulkStep(MapTable& table, int column, Step step, const NumberFormat& numbers);

// The slope fill's entries after the dialog accepted them.
struct SlopeFill {
    double slope = 0;
    int steps = 0;
};

// The dialog's acceptance rule: a whole step count of at least 1, and a slope whose whole
// part lies within -8..+8. Text that is not a number is refused.
bool acceptsSlopeFill(const QString& slopeText, const QString& stepsText,
                      const NumberFormat& numbers);
// The refusal message of the slope-fill dialog.
QString slopeFillRefusal();
// Reads accepted entries (strict conversions).
SlopeFill readSlopeFill(const QString& slopeText, const QString& stepsText,
                        const NumberFormat& numbers);

// Writes a straight run below (column, startRow): each following row gets the previous value
// plus the slope, kept within 0.5..63.5 after every addition, for `steps` rows or to the last
// row. The start cell is read (strictly) but never written; it fails with ConversionError
// before anything is written.
void slopeFill(MapTable& table, int column, int startRow, SlopeFill fill,
               const NumberFormat& numbers);

// A whole number with optional blanks and sign, or nothing.
std::optional<int> parseWholeNumber(const QString& text);

} // namespace zerwa::columnedits
