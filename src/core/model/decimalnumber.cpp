// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/decimalnumber.h"

#include <charconv>
#include <system_error>

namespace zerwa {

namespace {

constexpr long kExponentLimit = 1'000'000; // far beyond any double; keeps the sum from overflowing

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
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

} // namespace zerwa
