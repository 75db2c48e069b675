// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/mapsource.h"
#include "core/link/downloadcheck.h"
#include "core/model/numberformat.h"
#include "core/storage/mapfilecontent.h"

#include <QString>

#include <optional>

namespace zerwa::cli {

// Where a cell stands, as the tool names it: "map column 2, rpm row 5", "rpm of row 5",
// "heading of map column 2", "corner cell".
QString cellPlace(CellPos cell);

// The value the check refused, with its text: the cell with its heading and rpm as the grid
// shows them, or the setting's label.
QString faultPlace(const DownloadFault& fault, const MapFileContent& map);

// The check the programs run before a download, for the tool: nothing when the map may be
// sent, else the program's message on one line and after it the value refused:
// "Hiba az adattáblán! Kérem ellenőrizze az adatokat! [Hengerek száma: """]". A value that
// would pass with the other decimal separator is said to, naming --decimal.
std::optional<QString> refusalOf(const LoadedMap& map, const NumberFormat& numbers);

// The text quoted as it stands.
QString quoted(const QString& text);

} // namespace zerwa::cli
