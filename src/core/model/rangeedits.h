// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/cellrange.h"
#include "core/model/maptable.h"
#include "core/model/numberformat.h"
#include "core/model/variantprofile.h"

#include <QString>

#include <optional>

// The commands on the marked range of cells. Every value they compute starts from what the
// device gets of each data cell, floor(2v) / 2, is rounded to the nearest 0,5 (halves away
// from zero) and held within 0,5 .. 63,5; a cell whose result equals what the device got of
// it keeps its text, the others take the general number form. In axis-edit mode rpm cells
// take the addition and the interpolations, as whole numbers within 600 .. the ceiling, and
// headings take a fill only; otherwise only data cells change. A marked cell the command needs
// a number of that holds none stops it before anything changes.
namespace zerwa::rangeedits {

enum class Operation { Add, Scale, InterpolateRows, InterpolateColumns, InterpolateBoth, Smooth };

// A command of the range dialog: the operation and, for Add and Scale, the amount as typed
// (Add: a number, negative subtracts; Scale: a percentage above 0).
struct Request {
    Operation operation = Operation::InterpolateBoth;
    QString amount;
    friend bool operator==(const Request&, const Request&) = default;
};

// Where a command acts, and how it reads and writes numbers.
struct Target {
    CellRange range;
    bool axisEditMode = false;
    const VariantProfile& profile;
    const NumberFormat& numbers;
};

// What a command would do: the table afterwards, or why nothing may change.
struct Plan {
    std::optional<MapTable> after;
    QString problem; // why not, in a line or a few (the range dialog shows it)
    QString refusal; // the message that says so: a header line, then the problem
    int changed = 0; // cells whose text changes
    int held = 0;    // results held at a bound of their range
    // "16 cella változik, 3 a határon"
    QString preview() const;
};

Plan plan(const MapTable& table, const Target& target, const Request& request);

// Every marked cell other than `source` takes the source cell's text. Normally only data
// cells; in axis-edit mode every kind, and a text that some marked cell's kind refuses stops
// the whole fill.
Plan planFill(const MapTable& table, const Target& target, CellPos source);

// The values of a copied block added to the cells from the range's top-left cell, all or
// nothing: the block must fit as for a paste, and every value of the block and every cell it
// lands on must be a number; headings take no addition.
Plan planAddBlock(const MapTable& table, const Target& target, const QString& text);

} // namespace zerwa::rangeedits
