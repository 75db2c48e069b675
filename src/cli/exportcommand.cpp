// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include "cli/console.h"
#include "cli/csvtable.h"
#include "cli/mapsource.h"
#include "cli/options.h"
#include "core/storage/linesfile.h"
#include "core/storage/windows1250.h"

namespace zerwa::cli {

namespace {

int run(const QCommandLineParser& parser) {
    const QString name = positionals(parser, 1, 1).first();
    const MapLoad load = loadMap(name);
    if (!load.map) {
        printError(load.error);
        return kBadInput;
    }
    // Every text came from a Windows-1250 file, and the labels are in the code page too.
    const auto bytes = windows1250::encode(linesfile::joinLinesCrLf(csvLines(load.map->content)));
    Q_ASSERT(bytes);
    const std::optional<QString> output = outputFrom(parser);
    if (!output) {
        writeRaw(bytes.value_or(QByteArray()));
        return kSuccess;
    }
    const QString& path = *output;
    QString reason;
    if (!bytes || !linesfile::writeBytes(path, *bytes, &reason)) {
        printError(QStringLiteral("cannot write %1: %2").arg(path, reason));
        return kBadInput;
    }
    return kSuccess;
}

} // namespace

Command exportCommand() {
    return {QStringLiteral("export"), QStringLiteral("MAP.qmt"),
            QStringLiteral("The map as CSV for a spreadsheet: the settings as name;value lines, "
                           "an empty line, then the\ntable with its headings and rpm column. "
                           "Semicolons between fields, texts as stored,\nWindows-1250 with CR LF "
                           "like the programs' files. A file is replaced only once complete;\n"
                           "an output that is the map itself is refused (exit 2)."),
            [](QCommandLineParser& parser) { addOutputOption(parser, QStringLiteral("FILE.csv")); },
            run};
}

} // namespace zerwa::cli
