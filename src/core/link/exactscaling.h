// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/decimalnumber.h"

#include <cstdint>
#include <limits>

namespace zerwa::exact {

// What a result too large to be of any use becomes. Callers clamp it into their range.
inline constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();

// Largest numerator or denominator the scaling functions accept.
inline constexpr std::uint32_t kMaxFactor = 1u << 20;

// floor(value * numerator / denominator), computed on the decimal digits themselves, so a
// product that is exactly whole is never one less (1.2288 * 625 / 256 gives 3, not 2).
// Negative values give 0; values of 10^12 or more give kSaturated. Any length of text is
// exact; the time grows linearly with the number of digits.
std::uint64_t scaledFloor(const DecimalNumber& value, std::uint32_t numerator,
                          std::uint32_t denominator);

// floor(dividend / value), exact in the same way (37 500 000 / 15000 gives 2500). Values of
// zero or below, and values so small that the quotient would reach 2^40, give kSaturated.
std::uint64_t quotientFloor(std::uint32_t dividend, const DecimalNumber& value);

} // namespace zerwa::exact
