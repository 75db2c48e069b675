// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/numberformat.h"

#include <QString>

// The pieces of the messages that refuse a change naming one cell.
namespace zerwa::cellmessages {

// "Cella: 3. sor (1100), 2. oszlop (2.40)", or the heading's, the rpm cell's or the corner's.
QString place(const MapTable& table, CellPos cell);
// A cell's text as a message shows it: quoted, cut when long; an empty text is "üres".
QString shown(const QString& text);
// The cell, its text and why it was refused, one below the other.
QString about(const MapTable& table, CellPos cell, const QString& text, const QString& why);
// A line break and a hint when the text is a number written with the other decimal separator;
// empty otherwise.
QString separatorHint(const QString& text, const NumberFormat& numbers);

} // namespace zerwa::cellmessages
