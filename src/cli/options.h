// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/numberformat.h"
#include "core/model/variantprofile.h"

#include <QCommandLineParser>
#include <QString>

#include <optional>
#include <stdexcept>

namespace zerwa::cli {

// A command line that cannot be carried out; the text says why (exit code 2).
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// --decimal , | . : the decimal separator numbers are read and written with; without it the
// user's own, as the programs use.
void addDecimalOption(QCommandLineParser& parser);
NumberFormat numbersFrom(const QCommandLineParser& parser);

// --variant zerwa8|zerwa4|zerwa4_60.
void addVariantOption(QCommandLineParser& parser, const QString& description);
const VariantProfile* variantFrom(const QCommandLineParser& parser);

// -o, --output FILE: where the command writes instead of standard output; nothing when not
// given.
void addOutputOption(QCommandLineParser& parser, const QString& valueName);
std::optional<QString> outputFrom(const QCommandLineParser& parser);

// The positional arguments, at least `minimum` and at most `maximum` of them.
QStringList positionals(const QCommandLineParser& parser, int minimum, int maximum);

} // namespace zerwa::cli
