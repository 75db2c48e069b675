// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/cellrules.h"

namespace zerwa::cellrules {

std::optional<ValueRange> rangeOf(CellPos cell, const VariantProfile& profile) {
    if (cell.row == 0)
        return std::nullopt;
    if (cell.column == 0)
        return ValueRange{rpmMinimum, double(profile.rpmCeiling)};
    return ValueRange{dataMinimum, dataMaximum};
}

bool accepts(const QString& text, const ValueRange& range, const NumberFormat& numbers) {
    const double value = numbers.fallback(text);
    return value != NumberFormat::invalidMarker && value >= range.minimum && value <= range.maximum;
}

QString rangeText(CellPos cell, const VariantProfile& profile, const NumberFormat& numbers) {
    if (cell.column == 0) {
        return QStringLiteral("Az érték 600 - %1 között lehet!").arg(profile.rpmCeiling);
    }
    return QStringLiteral("Az érték ") + numbers.format(dataMinimum) + QStringLiteral(" - ") +
           numbers.format(dataMaximum) + QStringLiteral(" közötti szám!");
}

} // namespace zerwa::cellrules
