// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/numberformat.h"
#include "core/model/variantprofile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace zerwa::mapclipboard {

// Clipboard text longer than this is not read: no map needs a thousandth of it.
inline constexpr qsizetype kMaxTextLength = 1024 * 1024;

// The cells of a rectangle as a spreadsheet takes them: cells separated by a tab, every row
// ending in a line end, each text as the cell holds it. A text holding a tab, a line break or
// starting with a double quote is quoted as spreadsheets quote it.
QString copyText(const MapTable& table, CellPos topLeft, CellPos bottomRight);

// A block of cell texts read from clipboard text, row by row; rows may differ in length.
using Block = QList<QStringList>;

// Reads spreadsheet text: rows end in LF or CR LF (a final empty line is ignored), cells are
// separated by tabs, and a cell in double quotes loses them ("" inside stands for ").
Block parse(const QString& text);

// The cells of a rectangle as an HTML table, for spreadsheets that read it before the text:
// headings, rpm labels and every text that is not a plain number (digits with an optional
// minus and one decimal separator) are text cells, kept as they are; the other values are
// number cells holding the value shown.
QString copyHtml(const MapTable& table, CellPos topLeft, CellPos bottomRight,
                 const NumberFormat& numbers);

// Why a block read from clipboard text cannot be put with its top-left corner at `anchor`: too
// much text, no block, or a block that does not fit (or fits only together with the axes, outside
// axis-edit mode). Nothing when it fits; `block` then holds it.
std::optional<QString> blockProblem(const MapTable& table, const QString& text, CellPos anchor,
                                    bool axisEditMode, Block& block);
// Why a cell may not be written from the clipboard: an axis outside axis-edit mode.
std::optional<QString> axesRefusal(CellPos cell, bool axisEditMode);

// What a paste would do: the table afterwards, or why nothing may change.
struct PastePlan {
    std::optional<MapTable> after;
    QString refusal; // the message, when nothing may change
};

// A paste with its top-left corner at `anchor`, all or nothing: every target cell must take
// its text by the rule the cell check uses (data cells and rpm cells their ranges, headings
// any text), the axes only in axis-edit mode, no text may hold a tab or a line break or be
// longer than a map file line, and the block must fit inside the table. The refusal names the
// first offending cell; a block that only the axes make room for says it needs axis-edit mode.
PastePlan planPaste(const MapTable& table, const QString& text, CellPos anchor, bool axisEditMode,
                    const VariantProfile& profile, const NumberFormat& numbers);

} // namespace zerwa::mapclipboard
