// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include "cli/console.h"
#include "cli/mapsource.h"
#include "cli/options.h"
#include "cli/placenames.h"
#include "core/model/mapdifferences.h"
#include "core/model/settingslists.h"

namespace zerwa::cli {

namespace {

QString difference(const QString& place, const QString& a, const QString& b) {
    return place + QStringLiteral(": ") + quoted(a) + QStringLiteral(" -> ") + quoted(b);
}

// Every setting and cell whose text differs, settings first, then the grid row by row.
QStringList differences(const MapFileContent& a, const MapFileContent& b) {
    QStringList lines;
    const MapDifferences found = differencesBetween(a, b);
    for (const SettingField field : found.settings)
        lines << difference(settings::fieldNames().at(int(field)), fieldOf(a.settings, field),
                            fieldOf(b.settings, field));
    for (const CellPos& cell : found.cells)
        lines << difference(cellPlace(cell), a.table.cell(cell), b.table.cell(cell));
    return lines;
}

int run(const QCommandLineParser& parser) {
    const QStringList names = positionals(parser, 2, 2);
    const MapLoad a = loadMap(names.at(0));
    const MapLoad b = loadMap(names.at(1));
    for (const MapLoad* load : {&a, &b}) {
        if (!load->map) {
            printError(load->error);
            return kBadInput;
        }
    }
    if (a.map->profile != b.map->profile) {
        printError(QStringLiteral("%1 is a %2 map and %3 a %4 map; only maps of one program "
                                  "can be compared")
                       .arg(names.at(0), a.map->profile->programName, names.at(1),
                            b.map->profile->programName));
        return kBadInput;
    }
    const QStringList lines = differences(a.map->content, b.map->content);
    for (const QString& line : lines)
        printLine(line);
    return lines.isEmpty() ? kSuccess : kFailed;
}

} // namespace

Command diffCommand() {
    return {QStringLiteral("diff"), QStringLiteral("A.qmt B.qmt"),
            QStringLiteral("Every setting (by its label) and every cell (by map column and rpm "
                           "row) whose text differs,\nwith both texts. Exit 0 when the maps are "
                           "equal, 1 when they differ, 2 when one cannot be read\nor they belong "
                           "to different programs."),
            nullptr, run};
}

} // namespace zerwa::cli
