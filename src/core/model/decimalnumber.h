// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QStringView>

#include <optional>
#include <string>

namespace zerwa {

// A number exactly as its text wrote it: value = (negative ? -1 : 1) * digits * 10^exponent.
// Kept exact so that scaled values (the download frame) can be truncated without the
// rounding error of a binary double.
struct DecimalNumber {
    bool negative = false;
    std::string digits; // ASCII digits, no leading zeros; empty means zero
    long exponent = 0;

    bool isZero() const { return digits.empty(); }
};

// Reads a decimal number written with the given decimal separator: optional blanks, an
// optional sign, digits with at most one separator (at least one digit in all), an optional
// exponent ("E" or "e", optional sign, digits), optional blanks. Group separators,
// infinities and NaN spellings are not numbers.
std::optional<DecimalNumber> parseDecimal(QStringView text, QChar decimalSeparator);

// The nearest double, or nothing when the value lies beyond the range of a double.
std::optional<double> toDouble(const DecimalNumber& number);

// a - b, exact (12,3 - 12,1 is 0,2, not the 0,2000000000000011 of two doubles), or nothing
// when the two lie so far apart in magnitude that the result would need more than 64 digits.
std::optional<DecimalNumber> exactDifference(const DecimalNumber& a, const DecimalNumber& b);

} // namespace zerwa
