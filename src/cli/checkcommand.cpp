// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include "cli/console.h"
#include "cli/mapsource.h"
#include "cli/options.h"
#include "cli/placenames.h"
#include "core/link/downloadcheck.h"
#include "core/link/downloadmessages.h"

#include <climits>

namespace zerwa::cli {

namespace {

// Prints one map's line: its name and "OK", or the program's message and the value refused.
// True when the map passes.
bool printVerdict(const LoadedMap& map, const NumberFormat& numbers) {
    const auto refused = refusalOf(map, numbers);
    printLine(map.name + QStringLiteral(": ") + refused.value_or(QStringLiteral("OK")));
    return !refused;
}

int run(const QCommandLineParser& parser) {
    const QStringList names = positionals(parser, 1, INT_MAX);
    const NumberFormat numbers = numbersFrom(parser);
    int result = kSuccess;
    for (const QString& name : names) {
        const MapLoad load = loadMap(name);
        if (!load.map) {
            printError(load.error);
            result = kBadInput;
            continue;
        }
        if (!printVerdict(*load.map, numbers) && result == kSuccess)
            result = kFailed;
    }
    return result;
}

} // namespace

Command checkCommand() {
    return {QStringLiteral("check"), QStringLiteral("MAP.qmt..."),
            QStringLiteral("The pre-download check of each map, as its program runs it before a "
                           "download.\nOne line per map: its name and OK, or the program's "
                           "message and the value it refuses.\nExit 0 when all pass, 1 when any "
                           "fails the check, 2 when any cannot be read."),
            [](QCommandLineParser& parser) { addDecimalOption(parser); }, run};
}

} // namespace zerwa::cli
