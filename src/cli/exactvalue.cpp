// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/exactvalue.h"

#include <QtGlobal>

#include <algorithm>
#include <bit>
#include <cmath>

namespace zerwa::cli::exactvalue {

namespace {

using Wide = unsigned __int128;

constexpr long kMaxWideDigits = 36; // 10^36 < 2^128 / 10, so a remainder times 10 still fits

// The digits (no leading zeros) and the power of ten of a number, written out with the
// separator: 1,5 or 0,0025 or 1200.
QString decimalText(std::string digits, long exponent, QChar separator) {
    if (digits.empty())
        return QStringLiteral("0");
    while (digits.size() > 1 && digits.back() == '0' && exponent < 0) {
        digits.pop_back();
        ++exponent;
    }
    if (exponent >= 0)
        return QString::fromLatin1(digits) + QString(exponent, u'0');
    const long integerDigits = long(digits.size()) + exponent;
    if (integerDigits <= 0)
        return QStringLiteral("0") + separator + QString(-integerDigits, u'0') +
               QString::fromLatin1(digits);
    return QString::fromLatin1(digits.substr(0, size_t(integerDigits))) + separator +
           QString::fromLatin1(digits.substr(size_t(integerDigits)));
}

// The decimal digits times a small factor.
std::string timesSmall(const std::string& digits, std::uint64_t factor) {
    std::string result;
    std::uint64_t carry = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        const std::uint64_t t = std::uint64_t(*it - '0') * factor + carry;
        result.push_back(char('0' + t % 10));
        carry = t / 10;
    }
    for (; carry != 0; carry /= 10)
        result.push_back(char('0' + carry % 10));
    while (result.size() > 1 && result.back() == '0')
        result.pop_back();
    std::reverse(result.begin(), result.end());
    return result;
}

std::string wideText(Wide value) {
    std::string text;
    do {
        text.insert(text.begin(), char('0' + int(value % 10)));
        value /= 10;
    } while (value != 0);
    return text;
}

QString wideFraction(Wide numerator, Wide denominator, QChar separator, int maxFractionDigits) {
    QString text = QString::fromLatin1(wideText(numerator / denominator));
    Wide rest = numerator % denominator;
    if (rest == 0)
        return text;
    text += separator;
    for (int i = 0; i < maxFractionDigits && rest != 0; ++i) {
        rest *= 10;
        text += QChar(u'0' + int(rest / denominator));
        rest %= denominator;
    }
    if (rest != 0)
        text += QStringLiteral("…");
    return text;
}

} // namespace

QString product(const DecimalNumber& value, std::uint32_t numerator, std::uint32_t denominator,
                QChar separator) {
    Q_ASSERT(std::has_single_bit(denominator));
    // n / 2^k = n * 5^k / 10^k
    const int k = std::countr_zero(denominator);
    std::uint64_t factor = numerator;
    for (int i = 0; i < k; ++i)
        factor *= 5;
    const QString text =
        decimalText(timesSmall(value.digits, factor), value.exponent - k, separator);
    return value.negative && !value.isZero() ? u'-' + text : text;
}

QString quotient(std::uint32_t dividend, const DecimalNumber& value, QChar separator,
                 int maxFractionDigits) {
    // dividend / (digits * 10^e) = dividend * 10^-e / digits, or dividend / (digits * 10^e).
    const long digitCount = long(value.digits.size());
    const long scale = value.exponent < 0 ? -value.exponent : value.exponent;
    if (!value.isZero() && !value.negative && digitCount + scale <= kMaxWideDigits - 8) {
        Wide digits = 0;
        for (const char d : value.digits)
            digits = digits * 10 + Wide(d - '0');
        Wide power = 1;
        for (long i = 0; i < scale; ++i)
            power *= 10;
        return value.exponent < 0
                   ? wideFraction(Wide(dividend) * power, digits, separator, maxFractionDigits)
                   : wideFraction(dividend, digits * power, separator, maxFractionDigits);
    }
    const auto approximate = toDouble(value);
    return QStringLiteral("≈") +
           QString::number(approximate ? dividend / *approximate : NAN, 'g', 12)
               .replace(u'.', separator);
}

QString fraction(std::uint64_t numerator, std::uint64_t denominator, QChar separator,
                 int maxFractionDigits) {
    Q_ASSERT(denominator != 0);
    return wideFraction(numerator, denominator, separator, maxFractionDigits);
}

} // namespace zerwa::cli::exactvalue
