// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/capturereport.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/mapsource.h"
#include "cli/options.h"

#include <QFile>
#include <QFileInfo>

namespace zerwa::cli {

namespace {

// Far beyond the longest wire image; enough to report a wrong length without reading a
// huge file whole.
constexpr qint64 kLongestCapture = 1 << 20;

int run(const QCommandLineParser& parser) {
    const QString name = positionals(parser, 1, 1).first();
    const VariantProfile* variant = variantFrom(parser);
    const NumberFormat numbers = numbersFrom(parser);
    QFile file(name);
    if (QFileInfo(name).isDir() || !file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2")
                       .arg(name, QFileInfo(name).isDir() ? QStringLiteral("it is a folder")
                                                          : file.errorString()));
        return kBadInput;
    }
    const QByteArray bytes = file.read(kLongestCapture);
    if (file.error() != QFileDevice::NoError) {
        printError(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
        return kBadInput;
    }
    if (const VariantProfile* profile = profileOfMagicLine(bytes)) {
        printError(QStringLiteral("%1 is a %2 map file, not a capture; zerwa frame %1 --wire "
                                  "shows the wire image it gives")
                       .arg(name, profile->programName));
        return kBadInput;
    }
    return reportCapture(bytes, variant, numbers.decimalSeparator());
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
