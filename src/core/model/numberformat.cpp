// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/numberformat.h"

#include "core/model/decimalnumber.h"

#include <QLocale>

#include <cmath>
#include <cstdio>

namespace zerwa {

namespace {

// Longer texts are cut in the error message; the message must stay readable.
constexpr qsizetype kMaxQuotedLength = 60;

QString quoted(const QString& text) {
    if (text.size() <= kMaxQuotedLength)
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    return QLatin1Char('\'') + text.left(kMaxQuotedLength) + QStringLiteral("…'");
}

} // namespace

ConversionError::ConversionError(const QString& text)
    : std::runtime_error((quoted(text) + QStringLiteral(" nem érvényes szám.")).toStdString())
    , m_text(text) {}

NumberFormat::NumberFormat(QChar decimalSeparator)
    : m_separator(decimalSeparator) {}

NumberFormat NumberFormat::fromSystemLocale() {
    const QString point = QLocale::system().decimalPoint();
    return NumberFormat(point.size() == 1 ? point.at(0) : QChar(u'.'));
}

std::optional<double> NumberFormat::parse(const QString& text) const {
    const auto number = parseDecimal(text, m_separator);
    return number ? toDouble(*number) : std::nullopt;
}

double NumberFormat::fallback(const QString& text) const {
    return parse(text).value_or(invalidMarker);
}

double NumberFormat::strict(const QString& text) const {
    if (const auto value = parse(text))
        return *value;
    throw ConversionError(text);
}

QString NumberFormat::format(double value) const {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0");

    // 15 significant digits, rounded: d.dddddddddddddde[+-]x
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    QString digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            digits += QLatin1Char(*p);
    }
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString text = value < 0 ? QStringLiteral("-") : QString();
    if (exponent < -5 || exponent >= 15) {
        text += digits.at(0);
        if (digits.size() > 1)
            text += m_separator + digits.mid(1);
        text += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent < 0) {
        text += QLatin1Char('0') + m_separator + QString(-exponent - 1, u'0') + digits;
    } else if (digits.size() <= exponent + 1) {
        text += digits + QString(exponent + 1 - digits.size(), u'0');
    } else {
        text += digits.left(exponent + 1) + m_separator + digits.mid(exponent + 1);
    }
    return text;
}

} // namespace zerwa
