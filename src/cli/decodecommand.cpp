// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/capture.h"
#include "cli/capturereport.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/mapsource.h"
#include "cli/options.h"

namespace zerwa::cli {

namespace {

int run(const QCommandLineParser& parser) {
    const QString name = positionals(parser, 1, 1).first();
    const VariantProfile* variant = variantFrom(parser);
    const NumberFormat numbers = numbersFrom(parser);
    const auto bytes = readCaptureFile(name);
    if (!bytes)
        return kBadInput;
    if (const VariantProfile* profile = profileOfMagicLine(*bytes)) {
        printError(QStringLiteral("%1 is a %2 map file, not a capture; zerwa frame %1 --wire "
                                  "shows the wire image it gives")
                       .arg(name, profile->programName));
        return kBadInput;
    }
    return reportCapture(*bytes, variant, numbers.decimalSeparator());
}

} // namespace

Command decodeCommand() {
    return {QStringLiteral("decode"), QStringLiteral("FILE"),
            QStringLiteral("What the device received from a captured wire image or a bare frame "
                           "(told apart by length\nand the FF FF units): the mode and polarities, "
                           "each setting as the range of values that\nencode to its byte, and "
                           "every cell value. A broken unit, a wrong length or a byte the "
                           "programs\nnever send is reported with the offset of the first fault "
                           "(exit 1), and so is a second\ndownload in one capture. A 127-byte "
                           "frame fits two programs: name one with --variant. A map\nfile is "
                           "refused (exit 2): zerwa frame gives its bytes."),
            [](QCommandLineParser& parser) {
                addVariantOption(parser, QStringLiteral("The program that sent the frame."));
                addDecimalOption(parser);
            },
            run};
}

} // namespace zerwa::cli
