// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/exactdecimal.h"

#include <algorithm>
#include <string_view>

namespace zerwa {

namespace {

using Limbs = std::vector<std::uint32_t>;
constexpr std::uint32_t kBillion = 1'000'000'000;

void trim(Limbs& limbs) {
    while (!limbs.empty() && limbs.back() == 0)
        limbs.pop_back();
}

int compare(const Limbs& a, const Limbs& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

Limbs add(const Limbs& a, const Limbs& b) {
    Limbs sum(std::max(a.size(), b.size()) + 1, 0);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < sum.size(); ++i) {
        carry += std::uint64_t(i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
        sum[i] = std::uint32_t(carry);
        carry >>= 32;
    }
    trim(sum);
    return sum;
}

// a - b, for a >= b.
Limbs subtract(const Limbs& a, const Limbs& b) {
    Limbs difference(a.size(), 0);
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::int64_t d = std::int64_t(a[i]) - (i < b.size() ? b[i] : 0) - borrow;
        borrow = d < 0;
        difference[i] = std::uint32_t(d + (borrow << 32));
    }
    trim(difference);
    return difference;
}

// limbs * factor + addend, in place.
void multiplySmall(Limbs& limbs, std::uint32_t factor, std::uint32_t addend = 0) {
    std::uint64_t carry = addend;
    for (std::uint32_t& limb : limbs) {
        carry += std::uint64_t(limb) * factor;
        limb = std::uint32_t(carry);
        carry >>= 32;
    }
    if (carry != 0)
        limbs.push_back(std::uint32_t(carry));
    trim(limbs);
}

Limbs multiply(const Limbs& a, const Limbs& b) {
    if (a.empty() || b.empty())
        return {};
    Limbs product(a.size() + b.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < b.size(); ++j) {
            carry += std::uint64_t(a[i]) * b[j] + product[i + j];
            product[i + j] = std::uint32_t(carry);
            carry >>= 32;
        }
        product[i + b.size()] = std::uint32_t(carry);
    }
    trim(product);
    return product;
}

void multiplyByPowerOfTen(Limbs& limbs, long power) {
    for (; power >= 9; power -= 9)
        multiplySmall(limbs, kBillion);
    static constexpr std::uint32_t kPowers[] = {1,      10,      100,      1000,     10000,
                                                100000, 1000000, 10000000, 100000000};
    multiplySmall(limbs, kPowers[power]);
}

Limbs fromDigits(std::string_view digits) {
    Limbs limbs;
    // Nine digits at a time: the first chunk takes what is left over.
    std::size_t chunk = digits.size() % 9 == 0 ? 9 : digits.size() % 9;
    for (std::size_t i = 0; i < digits.size(); i += chunk, chunk = 9) {
        std::uint32_t value = 0;
        std::uint32_t scale = 1;
        for (std::size_t k = i; k < i + chunk; ++k) {
            value = value * 10 + std::uint32_t(digits[k] - '0');
            scale *= 10;
        }
        multiplySmall(limbs, scale, value);
    }
    return limbs;
}

// The decimal digits of `digits` x factor.
std::string timesDigits(const std::string& digits, std::uint32_t factor) {
    std::string product(digits.size(), '0');
    std::uint64_t carry = 0;
    for (std::size_t i = digits.size(); i-- > 0;) {
        carry += std::uint64_t(digits[i] - '0') * factor;
        product[i] = char('0' + carry % 10);
        carry /= 10;
    }
    return carry == 0 ? product : std::to_string(carry) + product;
}

Limbs timesSmall(Limbs limbs, std::uint32_t factor) {
    multiplySmall(limbs, factor);
    return limbs;
}

} // namespace

ExactDecimal::ExactDecimal(long long value)
    : m_negative(value < 0) {
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    for (; magnitude != 0; magnitude >>= 32)
        m_magnitude.push_back(std::uint32_t(magnitude));
}

ExactDecimal ExactDecimal::of(const DecimalNumber& number) {
    ExactDecimal value;
    if (toDouble(number).value_or(1) == 0)
        return value;
    value.m_negative = number.negative;
    value.m_magnitude = fromDigits(number.digits);
    value.m_exponent = number.exponent;
    return value;
}

ExactDecimal ExactDecimal::floorOf(const DecimalNumber& number, std::uint32_t factor) {
    ExactDecimal value;
    if (number.isZero())
        return value;
    const std::string digits = timesDigits(number.digits, factor);
    const long size = long(digits.size());
    // The whole part, and whether anything is left below it.
    const long wholeDigits = std::clamp(size + number.exponent, 0L, size);
    value.m_magnitude = fromDigits(std::string_view(digits).substr(0, std::size_t(wholeDigits)));
    value.m_exponent = std::max(number.exponent, 0L);
    value.m_negative = number.negative && !value.m_magnitude.empty();
    const bool fraction =
        digits.find_first_not_of('0', std::size_t(wholeDigits)) != std::string::npos;
    return number.negative && fraction ? value + ExactDecimal(-1) : value;
}

ExactDecimal ExactDecimal::operator-() const {
    ExactDecimal negated = *this;
    negated.m_negative = !m_negative && !isZero();
    return negated;
}

ExactDecimal ExactDecimal::operator+(const ExactDecimal& other) const {
    if (isZero())
        return other;
    if (other.isZero())
        return *this;
    // Both to the smaller power of ten.
    ExactDecimal a = *this;
    ExactDecimal b = other;
    ExactDecimal& coarser = a.m_exponent > b.m_exponent ? a : b;
    const long finer = std::min(a.m_exponent, b.m_exponent);
    multiplyByPowerOfTen(coarser.m_magnitude, coarser.m_exponent - finer);
    coarser.m_exponent = finer;

    ExactDecimal sum;
    sum.m_exponent = finer;
    if (a.m_negative == b.m_negative) {
        sum.m_magnitude = add(a.m_magnitude, b.m_magnitude);
        sum.m_negative = a.m_negative;
    } else {
        const bool aLarger = compare(a.m_magnitude, b.m_magnitude) >= 0;
        const ExactDecimal& larger = aLarger ? a : b;
        const ExactDecimal& smaller = aLarger ? b : a;
        sum.m_magnitude = subtract(larger.m_magnitude, smaller.m_magnitude);
        sum.m_negative = larger.m_negative && !sum.m_magnitude.empty();
    }
    return sum;
}

ExactDecimal ExactDecimal::operator*(const ExactDecimal& other) const {
    ExactDecimal product;
    product.m_magnitude = multiply(m_magnitude, other.m_magnitude);
    if (product.m_magnitude.empty())
        return product;
    product.m_negative = m_negative != other.m_negative;
    product.m_exponent = m_exponent + other.m_exponent;
    return product;
}

ExactDecimal::Rounded ExactDecimal::roundedWithin(std::uint32_t divisor, std::uint32_t low,
                                                  std::uint32_t high) const {
    if (m_negative || isZero())
        return {low, true};
    // value / divisor = numerator / denominator, both whole.
    Limbs numerator = m_magnitude;
    Limbs denominator{divisor};
    if (m_exponent >= 0)
        multiplyByPowerOfTen(numerator, m_exponent);
    else
        multiplyByPowerOfTen(denominator, -m_exponent);
    if (compare(numerator, timesSmall(denominator, low)) < 0)
        return {low, true};
    if (compare(numerator, timesSmall(denominator, high)) > 0)
        return {high, true};
    // The whole part q: the largest one with q x denominator <= numerator.
    std::uint32_t whole = low;
    for (std::uint32_t top = high; whole < top;) {
        const std::uint32_t middle = whole + (top - whole + 1) / 2;
        if (compare(timesSmall(denominator, middle), numerator) <= 0)
            whole = middle;
        else
            top = middle - 1;
    }
    Limbs twiceRest = subtract(numerator, timesSmall(denominator, whole));
    multiplySmall(twiceRest, 2);
    return {compare(twiceRest, denominator) >= 0 ? whole + 1 : whole, false};
}

} // namespace zerwa
