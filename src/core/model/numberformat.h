// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <stdexcept>

namespace zerwa {

// Thrown by the strict conversion; its text names the offending cell text.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& text);
    const QString& text() const { return m_text; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    QString m_text;
};

// Number <-> text with the user's decimal separator, as every part of the program writes and
// reads numbers: no group separators, shortest general form on output.
class NumberFormat {
public:
    static constexpr double invalidMarker = -1.0;

    explicit NumberFormat(QChar decimalSeparator = u',');
    static NumberFormat fromSystemLocale();

    QChar decimalSeparator() const { return m_separator; }

    // Text to number, or nothing for text that is not a number. Never throws.
    std::optional<double> parse(const QString& text) const;
    // Text to number, or the invalid marker -1 for text that is not a number. Never throws.
    double fallback(const QString& text) const;
    // Text to number, or ConversionError for text that is not a number.
    double strict(const QString& text) const;
    // Shortest text with up to 15 significant digits, no trailing zeros, no group separator;
    // scientific form ("1,5E-7", "1E20") only for very small or very large magnitudes.
    QString format(double value) const;

private:
    QChar m_separator;
};

} // namespace zerwa
