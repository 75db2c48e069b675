// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/exactscaling.h"

#include <QtGlobal>

#include <string_view>

namespace zerwa::exact {

namespace {

constexpr long kMaxIntegerDigits = 12; // integer parts below 10^12 are computed exactly
constexpr std::uint64_t kQuotientCap = std::uint64_t(1) << 40;

// The value split at the decimal point: integer part (exact, below 10^12 unless
// `tooLarge`) and the fractional digits, which are `leadingZeros` zeros followed by
// `fraction`.
struct SplitValue {
    bool tooLarge = false;
    std::uint64_t integer = 0;
    long leadingZeros = 0;
    std::string_view fraction;
};

SplitValue split(const DecimalNumber& value) {
    SplitValue parts;
    const std::string& digits = value.digits;
    const long count = long(digits.size());
    const long integerDigits = count + value.exponent; // may be zero or negative
    if (integerDigits > kMaxIntegerDigits) {
        parts.tooLarge = true;
        return parts;
    }
    for (long i = 0; i < integerDigits; ++i)
        parts.integer = parts.integer * 10 + (i < count ? std::uint64_t(digits[i] - '0') : 0);
    if (value.exponent < 0) {
        const long firstFraction = qMax(0L, integerDigits);
        parts.leadingZeros = qMax(0L, -integerDigits);
        parts.fraction = std::string_view(digits).substr(std::size_t(firstFraction));
    }
    return parts;
}

// floor(F * multiplier) for the fraction F = 0.[zeros][digits], and whether that is exact.
// Carries run from the last digit to the first; each step drops one decimal digit of the
// product, so the result is exact whatever the length. multiplier < 2^41.
std::uint64_t floorFractionTimes(const SplitValue& parts, std::uint64_t multiplier, bool* exact) {
    std::uint64_t carry = 0;
    bool whole = true;
    for (auto it = parts.fraction.rbegin(); it != parts.fraction.rend(); ++it) {
        const std::uint64_t t = std::uint64_t(*it - '0') * multiplier + carry;
        whole = whole && t % 10 == 0;
        carry = t / 10;
    }
    // Leading zeros only shift the carry right; once it is gone they change nothing.
    for (long i = 0; i < parts.leadingZeros && carry != 0; ++i) {
        whole = whole && carry % 10 == 0;
        carry /= 10;
    }
    if (exact)
        *exact = whole;
    return carry;
}

// Whether q * value <= dividend, exactly.
bool productFits(const SplitValue& parts, std::uint64_t q, std::uint64_t dividend) {
    if (parts.integer != 0 && q > dividend / parts.integer)
        return false;
    const std::uint64_t rest = dividend - q * parts.integer;
    bool exact = false;
    const std::uint64_t fractionPart = floorFractionTimes(parts, q, &exact);
    return fractionPart < rest || (fractionPart == rest && exact);
}

} // namespace

std::uint64_t scaledFloor(const DecimalNumber& value, std::uint32_t numerator,
                          std::uint32_t denominator) {
    Q_ASSERT(numerator >= 1 && numerator <= kMaxFactor);
    Q_ASSERT(denominator >= 1 && denominator <= kMaxFactor);
    if (value.isZero() || value.negative)
        return 0;
    const SplitValue parts = split(value);
    if (parts.tooLarge)
        return kSaturated;
    // value * n / d = (I * n) / d + F * n / d; with I * n = q * d + r the result is
    // q + floor((r + F * n) / d), and the fraction of F * n cannot carry over a whole d.
    const std::uint64_t product = parts.integer * numerator;
    const std::uint64_t q = product / denominator;
    const std::uint64_t r = product % denominator;
    return q + (r + floorFractionTimes(parts, numerator, nullptr)) / denominator;
}

std::uint64_t quotientFloor(std::uint32_t dividend, const DecimalNumber& value) {
    if (value.isZero() || value.negative)
        return kSaturated;
    const SplitValue parts = split(value);
    if (parts.tooLarge)
        return 0; // value >= 10^12 > dividend
    // The quotient lies in [dividend / (I + 1), dividend / I]; below 1 it has no upper
    // bound but the cap. Search the largest q with q * value <= dividend.
    std::uint64_t low = dividend / (parts.integer + 1); // always fits
    std::uint64_t high = parts.integer == 0 ? kQuotientCap : dividend / parts.integer;
    if (productFits(parts, high, dividend))
        return high == kQuotientCap ? kSaturated : high;
    while (high - low > 1) { // low fits, high does not
        const std::uint64_t middle = low + (high - low) / 2;
        if (productFits(parts, middle, dividend))
            low = middle;
        else
            high = middle;
    }
    return low;
}

} // namespace zerwa::exact
