// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include "core/model/variantprofiles.h"

namespace zerwa::cli {

namespace {

const QString kDecimal = QStringLiteral("decimal");
const QString kVariant = QStringLiteral("variant");
const QString kOutput = QStringLiteral("output");
const QString kOutputShort = QStringLiteral("o");

QStringList programNames() {
    QStringList names;
    for (const VariantProfile* profile : profiles::all())
        names << profile->programName;
    return names;
}

} // namespace

void addDecimalOption(QCommandLineParser& parser) {
    parser.addOption({kDecimal,
                      QStringLiteral("Decimal separator of the numbers (default: the one of the "
                                     "user's locale, as the programs use)."),
                      QStringLiteral(", or .")});
}

NumberFormat numbersFrom(const QCommandLineParser& parser) {
    if (!parser.isSet(kDecimal))
        return NumberFormat::fromSystemLocale();
    const QString value = parser.value(kDecimal);
    if (value != u"," && value != u".")
        throw UsageError(QStringLiteral("--decimal takes , or . (not '%1')").arg(value));
    return NumberFormat(value.at(0));
}

void addVariantOption(QCommandLineParser& parser, const QString& description) {
    parser.addOption({kVariant, description, programNames().join(u'|')});
}

const VariantProfile* variantFrom(const QCommandLineParser& parser) {
    if (!parser.isSet(kVariant))
        return nullptr;
    const QString value = parser.value(kVariant);
    if (const VariantProfile* profile = profiles::forProgramName(value))
        return profile;
    throw UsageError(QStringLiteral("--variant takes %1 (not '%2')")
                         .arg(programNames().join(QStringLiteral(", ")), value));
}

void addOutputOption(QCommandLineParser& parser, const QString& valueName) {
    parser.addOption({{kOutputShort, kOutput},
                      QStringLiteral("Write to %1 instead of standard output.").arg(valueName),
                      valueName});
}

std::optional<QString> outputFrom(const QCommandLineParser& parser) {
    // Commands without the option have not defined it, and asking whether it is set would warn.
    const QStringList given = parser.optionNames();
    if (!given.contains(kOutput) && !given.contains(kOutputShort))
        return std::nullopt;
    return parser.value(kOutput);
}

QStringList positionals(const QCommandLineParser& parser, int minimum, int maximum) {
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() < minimum)
        throw UsageError(QStringLiteral("missing argument; see --help"));
    if (arguments.size() > maximum)
        throw UsageError(
            QStringLiteral("unexpected argument '%1'; see --help").arg(arguments.at(maximum)));
    return arguments;
}

} // namespace zerwa::cli
