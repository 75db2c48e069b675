// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/downloadlimits.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace zerwa {

namespace {

DecimalNumber parseEnd(const QString& text) {
    // The ends are fixed texts; one that does not read is a programming error.
    const auto number = parseDecimal(text, u'.');
    Q_ASSERT(number);
    return number.value_or(DecimalNumber());
}

// Rounds to single precision; magnitudes beyond the float range become infinite instead of
// undefined behaviour.
float toSingle(double value) {
    if (std::fabs(value) > double(FLT_MAX))
        return value < 0 ? -std::numeric_limits<float>::infinity()
                         : std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

float single(const DecimalNumber& number) {
    return toSingle(toDouble(number).value_or(std::numeric_limits<double>::quiet_NaN()));
}

} // namespace

DecimalNumber DownloadRange::lowNumber() const {
    return parseEnd(low);
}

DecimalNumber DownloadRange::highNumber() const {
    return parseEnd(high);
}

SingleRange DownloadRange::rounded() const {
    return {single(lowNumber()), single(highNumber())};
}

bool SingleRange::containsRounded(double value) const {
    if (std::isnan(value))
        return false;
    const float rounded = toSingle(value);
    return rounded >= low && rounded <= high;
}

namespace downloadlimits {

DownloadRange rpm(const VariantProfile& profile) {
    return {QStringLiteral("600"), QString::number(profile.rpmCeiling)};
}

DownloadRange cell() {
    return {QStringLiteral("0.5"), QStringLiteral("63.5")};
}

DownloadRange openingMs() {
    return {QStringLiteral("0.2"), QStringLiteral("2")};
}

DownloadRange closingMs() {
    return {QStringLiteral("0.5"), QStringLiteral("10")};
}

DownloadRange closingAngle() {
    return {QStringLiteral("50"), QStringLiteral("510")};
}

} // namespace downloadlimits

} // namespace zerwa
