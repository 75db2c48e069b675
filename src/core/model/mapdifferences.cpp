// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/mapdifferences.h"

#include <tuple>

namespace zerwa {

namespace {

// The stepping order: every cell before every setting.
auto orderOf(const DifferencePlace& place) {
    if (place.cell)
        return std::tuple(0, place.cell->row, place.cell->column);
    return std::tuple(1, int(place.setting.value_or(SettingField::Cylinders)), 0);
}

} // namespace

std::optional<DifferencePlace> MapDifferences::step(const std::optional<DifferencePlace>& from,
                                                    bool forward) const {
    QList<DifferencePlace> places;
    for (const CellPos& cell : cells)
        places.append({cell, std::nullopt});
    for (const SettingField field : settings)
        places.append({std::nullopt, field});
    if (places.isEmpty())
        return std::nullopt;
    if (from) {
        const auto at = orderOf(*from);
        if (forward) {
            for (const DifferencePlace& place : std::as_const(places))
                if (orderOf(place) > at)
                    return place;
        } else {
            for (auto place = places.crbegin(); place != places.crend(); ++place)
                if (orderOf(*place) < at)
                    return *place;
        }
    }
    return forward ? places.constFirst() : places.constLast();
}

MapDifferences differencesBetween(const MapFileContent& a, const MapFileContent& b) {
    Q_ASSERT(a.table.columns() == b.table.columns() && a.table.rows() == b.table.rows());
    MapDifferences differences;
    for (int i = 0; i < kSettingFieldCount; ++i) {
        const auto field = SettingField(i);
        if (fieldOf(a.settings, field) != fieldOf(b.settings, field))
            differences.settings.append(field);
    }
    // Cells in row order are cells by index.
    for (int i = 0; i < a.table.cellCount(); ++i) {
        if (a.table.cellAt(i) != b.table.cellAt(i))
            differences.cells.append(a.table.posOf(i));
    }
    return differences;
}

} // namespace zerwa
