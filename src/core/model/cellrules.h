// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/numberformat.h"
#include "core/model/variantprofile.h"

#include <QString>

#include <optional>

namespace zerwa {

// The inclusive range a cell's number must lie in.
struct ValueRange {
    double minimum = 0;
    double maximum = 0;
};

namespace cellrules {

inline constexpr double dataMinimum = 0.5;
inline constexpr double dataMaximum = 63.5;
inline constexpr double rpmMinimum = 600;

// Rpm cells (column 0) and data cells have a range; headings (row 0) and the corner none.
std::optional<ValueRange> rangeOf(CellPos cell, const VariantProfile& profile);

// True when the text reads (with the fallback conversion) as a number inside the range. Text
// that is not a number, and the text -1, never are.
bool accepts(const QString& text, const ValueRange& range, const NumberFormat& numbers);

// What the correction dialog tells the user about the allowed values of the cell.
QString rangeText(CellPos cell, const VariantProfile& profile, const NumberFormat& numbers);

} // namespace cellrules
} // namespace zerwa
