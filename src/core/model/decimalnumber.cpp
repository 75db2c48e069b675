// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/decimalnumber.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace zerwa {

namespace {

constexpr long kExponentLimit = 1'000'000; // far beyond any double; keeps the sum from overflowing

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

constexpr std::size_t kMaxDifferenceDigits = 64;

// Digit strings of one length, most significant first: a + b, or a - b where a >= b.
std::string addDigits(const std::string& a, const std::string& b) {
    std::string sum(a.size() + 1, '0');
    int carry = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        const int digit = (a[i] - '0') + (b[i] - '0') + carry;
        sum[i + 1] = char('0' + digit % 10);
        carry = digit / 10;
    }
    sum[0] = char('0' + carry);
    return sum;
}
std::string subtractDigits(const std::string& a, const std::string& b) {
    std::string rest(a.size(), '0');
    int borrow = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        int digit = (a[i] - '0') - (b[i] - '0') - borrow;
        borrow = digit < 0;
        rest[i] = char('0' + digit + 10 * borrow);
    }
    return rest;
}

// The digits with leading zeros dropped and trailing zeros moved into the exponent.
DecimalNumber normalized(bool negative, std::string digits, long exponent) {
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return {};
    digits.erase(0, first);
    while (digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    return {negative, std::move(digits), exponent};
}

} // namespace

std::optional<DecimalNumber> parseDecimal(QStringView text, QChar decimalSeparator) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;

    DecimalNumber number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        number.negative = text[i] == u'-';
        ++i;
    }

    bool anyDigit = false;
    bool seenSeparator = false;
    long fractionDigits = 0;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c)) {
            anyDigit = true;
            if (seenSeparator)
                ++fractionDigits;
            if (c != u'0' || !number.digits.empty()) // leading zeros carry no value
                number.digits.push_back(char(c.unicode()));
        } else if (c == decimalSeparator && !seenSeparator) {
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;

    long exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        if (i >= n || !isAsciiDigit(text[i]))
            return std::nullopt;
        for (; i < n && isAsciiDigit(text[i]); ++i) {
            if (exponent < kExponentLimit)
                exponent = exponent * 10 + (text[i].unicode() - u'0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return std::nullopt;

    // Trailing zeros of the digits move into the exponent.
    long trailingZeros = 0;
    while (!number.digits.empty() && number.digits.back() == '0') {
        number.digits.pop_back();
        ++trailingZeros;
    }
    if (number.digits.empty()) {
        number.negative = false;
        number.exponent = 0;
        return number;
    }
    number.exponent = exponent - fractionDigits + trailingZeros;
    return number;
}

std::optional<double> toDouble(const DecimalNumber& number) {
    if (number.isZero())
        return 0.0;
    const long magnitude = number.exponent + long(number.digits.size()) - 1;
    if (magnitude > 400)
        return std::nullopt;
    if (magnitude < -400)
        return number.negative ? -0.0 : 0.0;

    std::string text = number.digits;
    text += 'e';
    text += std::to_string(number.exponent);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        return magnitude < 0 ? std::optional<double>(0.0) : std::nullopt;
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number.negative ? -value : value;
}

std::optional<DecimalNumber> exactDifference(const DecimalNumber& a, const DecimalNumber& b) {
    if (b.isZero())
        return a;
    DecimalNumber minusB = b;
    minusB.negative = !b.negative;
    if (a.isZero())
        return minusB;
    // Both as whole numbers of the smaller exponent, padded to one length.
    const long exponent = std::min(a.exponent, b.exponent);
    const long lengthA = long(a.digits.size()) + a.exponent - exponent;
    const long lengthB = long(b.digits.size()) + b.exponent - exponent;
    const long length = std::max(lengthA, lengthB);
    if (length > long(kMaxDifferenceDigits))
        return std::nullopt;
    auto padded = [length, exponent](const DecimalNumber& n) {
        std::string digits = n.digits + std::string(std::size_t(n.exponent - exponent), '0');
        return std::string(std::size_t(length) - digits.size(), '0') + digits;
    };
    const std::string x = padded(a);
    const std::string y = padded(minusB);
    if (a.negative == minusB.negative)
        return normalized(a.negative, addDigits(x, y), exponent);
    // Equal lengths compare as texts.
    return x >= y ? normalized(a.negative, subtractDigits(x, y), exponent)
                  : normalized(minusB.negative, subtractDigits(y, x), exponent);
}

} // namespace zerwa
