// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/decimalnumber.h"

#include <QChar>
#include <QString>

#include <cstdint>

namespace zerwa::cli::exactvalue {

// value * numerator / denominator written out exactly; the denominator is a power of two, so
// the result always ends.
QString product(const DecimalNumber& value, std::uint32_t numerator, std::uint32_t denominator,
                QChar separator);

// dividend / value: exact when it ends within `maxFractionDigits` decimals, otherwise cut
// there and marked with a trailing "…". Values with more digits than the arithmetic carries
// are shown rounded, marked with a leading "≈".
QString quotient(std::uint32_t dividend, const DecimalNumber& value, QChar separator,
                 int maxFractionDigits = 9);

// numerator / denominator in the same way.
QString fraction(std::uint64_t numerator, std::uint64_t denominator, QChar separator,
                 int maxFractionDigits = 9);

} // namespace zerwa::cli::exactvalue
