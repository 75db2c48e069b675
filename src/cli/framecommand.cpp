// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include "cli/console.h"
#include "cli/frameexplanation.h"
#include "cli/hexdump.h"
#include "cli/mapsource.h"
#include "cli/options.h"
#include "cli/placenames.h"
#include "core/link/downloadcheck.h"
#include "core/link/downloadframe.h"

namespace zerwa::cli {

namespace {

const QString kWire = QStringLiteral("wire");
const QString kFormat = QStringLiteral("format");

int run(const QCommandLineParser& parser) {
    const QString name = positionals(parser, 1, 1).first();
    const NumberFormat numbers = numbersFrom(parser);
    const QString format = parser.isSet(kFormat) ? parser.value(kFormat) : QStringLiteral("hex");
    if (format != u"hex" && format != u"raw" && format != u"explain")
        throw UsageError(
            QStringLiteral("--format takes hex, raw or explain (not '%1')").arg(format));
    if (format == u"explain" && parser.isSet(kWire))
        throw UsageError(
            QStringLiteral("--format explain lists the frame bytes; leave out --wire"));

    const MapLoad load = loadMap(name);
    if (!load.map) {
        printError(load.error);
        return kBadInput;
    }
    const LoadedMap& map = *load.map;
    const MapFileContent& content = map.content;
    // Only a map that passes the check has a frame: the program sends nothing else.
    if (const auto refused = refusalOf(map, numbers)) {
        printError(name + QStringLiteral(": ") + *refused);
        return kFailed;
    }
    const QByteArray frame =
        EncodeDownloadFrame(*map.profile, content.table, content.settings, numbers);
    if (format == u"explain") {
        for (const QString& line : explainFrame(*map.profile, content, frame, numbers))
            printLine(line);
        return kSuccess;
    }
    const QByteArray bytes = parser.isSet(kWire) ? downloadframe::wireImage(frame) : frame;
    if (format == u"raw")
        writeRaw(bytes);
    else
        printLine(hexLines(bytes));
    return kSuccess;
}

void addOptions(QCommandLineParser& parser) {
    parser.addOption({kWire, QStringLiteral("The wire image: each frame byte followed by FF FF.")});
    parser.addOption({kFormat,
                      QStringLiteral("hex (default): 16 bytes a line; raw: the bytes themselves, "
                                     "for a file; explain: one line per frame byte with its "
                                     "field, source text, exact scaled value and byte."),
                      QStringLiteral("hex|raw|explain")});
    addDecimalOption(parser);
}

} // namespace

Command frameCommand() {
    return {QStringLiteral("frame"), QStringLiteral("MAP.qmt"),
            QStringLiteral("The download frame of a map (127 or 247 bytes) or, with --wire, its "
                           "wire image.\nA map that fails the check has none: its message goes "
                           "to standard error, exit 1."),
            addOptions, run};
}

} // namespace zerwa::cli
