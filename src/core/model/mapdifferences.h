// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/settingsblock.h"
#include "core/model/variantprofile.h"
#include "core/storage/mapfilecontent.h"

#include <QList>

#include <optional>

namespace zerwa {

// Where one difference stands: a cell, or a setting.
struct DifferencePlace {
    std::optional<CellPos> cell;
    std::optional<SettingField> setting;
    friend bool operator==(const DifferencePlace&, const DifferencePlace&) = default;
};

// Where two maps of one program differ: every setting and every cell, axes and corner
// included, whose text is not the same, character for character. Nothing is parsed: "05"
// and "5" differ, as a file comparison would say.
struct MapDifferences {
    QList<SettingField> settings; // in the panel's order
    QList<CellPos> cells;         // in reading order: row 0 first, each row from column 0

    bool isEmpty() const { return settings.isEmpty() && cells.isEmpty(); }
    friend bool operator==(const MapDifferences&, const MapDifferences&) = default;

    // The next difference after `from` (or the previous one before it) in stepping order:
    // the cells in reading order, then the settings in the panel's order, wrapping at the
    // ends. Without `from`, the first (the last). Nothing when there is no difference.
    std::optional<DifferencePlace> step(const std::optional<DifferencePlace>& from,
                                        bool forward) const;
};

// The differences of map `a` from map `b`; both hold tables of the same size.
MapDifferences differencesBetween(const MapFileContent& a, const MapFileContent& b);

} // namespace zerwa
