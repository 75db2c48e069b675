// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/storage/mapfilecontent.h"

#include <QString>
#include <QStringList>

namespace zerwa::cli {

// A map for a spreadsheet: the six settings as "name;value" lines, an empty line, then the
// grid row by row (headings first, the rpm in the first column), fields separated by ";".
// Texts stand as stored; a field holding ";", a quote or a line break is quoted with its
// quotes doubled.
QStringList csvLines(const MapFileContent& map);

} // namespace zerwa::cli
