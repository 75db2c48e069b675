// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/decimalnumber.h"

#include <cstdint>
#include <vector>

namespace zerwa {

// A decimal number held exactly, of any length: a sign, a whole-number mantissa and a power of
// ten. Sums and products are exact, so a result that lies exactly halfway between two steps is
// known to be halfway: 12,25 + 0,25 is 12,5, never 12,4999...
class ExactDecimal {
public:
    ExactDecimal() = default; // zero
    explicit ExactDecimal(long long value);

    // The value of a number as read from text. A value too small for a double to tell from
    // zero is zero, as everywhere else in the program.
    static ExactDecimal of(const DecimalNumber& number);
    // floor(number x factor): the whole number the value comes to in steps of 1 / factor.
    static ExactDecimal floorOf(const DecimalNumber& number, std::uint32_t factor);

    bool isZero() const { return m_magnitude.empty(); }
    ExactDecimal operator-() const;
    ExactDecimal operator+(const ExactDecimal& other) const;
    ExactDecimal operator*(const ExactDecimal& other) const;
    bool operator==(const ExactDecimal& other) const { return (*this + -other).isZero(); }

    // The value divided by `divisor` (at least 1), rounded to the nearest whole number with
    // halves upwards and then held within low..high (low at least 1, so every value rounded
    // lies above zero and upwards is away from zero). `held` tells that the value itself lay
    // outside low..high.
    struct Rounded {
        long long value = 0;
        bool held = false;
    };
    Rounded roundedWithin(std::uint32_t divisor, std::uint32_t low, std::uint32_t high) const;

private:
    using Limbs = std::vector<std::uint32_t>; // base 2^32, lowest first, no leading zeros

    bool m_negative = false;
    Limbs m_magnitude;
    long m_exponent = 0;
};

} // namespace zerwa
