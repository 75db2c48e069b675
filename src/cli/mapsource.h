// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"
#include "core/storage/mapfilecontent.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zerwa::cli {

// A map file read for the tool: its program is the one whose magic line it begins with.
struct LoadedMap {
    QString name; // as given on the command line
    const VariantProfile* profile = nullptr;
    MapFileContent content;
};

struct MapLoad {
    std::optional<LoadedMap> map;
    QString error; // the reader's message on one line, naming the file
};

// The program whose magic line opens `bytes` (ended by LF, CR LF or their end), or null.
const VariantProfile* profileOfMagicLine(const QByteArray& bytes);

// Reads a map file as the programs read theirs, with the reader of the program its first
// line names.
MapLoad loadMap(const QString& name);

} // namespace zerwa::cli
