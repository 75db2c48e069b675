// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/maptable.h"

#include <QtGlobal>

namespace zerwa {

MapTable::MapTable(int columns, int rows)
    : m_columns(columns)
    , m_rows(rows) {
    Q_ASSERT(columns > 0 && rows > 0);
    m_cells.resize(qsizetype(columns) * rows);
}

MapTable MapTable::forProfile(const VariantProfile& profile) {
    return MapTable(profile.gridColumns(), profile.gridRows());
}

bool MapTable::contains(int column, int row) const {
    return column >= 0 && column < m_columns && row >= 0 && row < m_rows;
}

const QString& MapTable::cell(int column, int row) const {
    Q_ASSERT(contains(column, row));
    return m_cells.at(index(column, row));
}

void MapTable::setCell(int column, int row, const QString& text) {
    Q_ASSERT(contains(column, row));
    m_cells[index(column, row)] = text;
}

void resetMapTable(MapTable& table, const VariantProfile& profile, ResetScope scope) {
    Q_ASSERT(table.columns() == profile.gridColumns() && table.rows() == profile.gridRows());
    const bool axesToo = scope == ResetScope::WithAxes;
    for (int row = 1; row <= profile.rpmRows; ++row) {
        if (axesToo)
            table.setCell(0, row, QString::number(profile.defaultRpm(row)));
        for (int column = 1; column <= profile.mapColumns; ++column)
            table.setCell(column, row, QString::number(column));
    }
    if (axesToo) {
        table.setCell(0, 0, QString());
        for (int column = 1; column <= profile.mapColumns; ++column)
            table.setCell(column, 0, profile.defaultHeadings.at(column - 1));
    }
}

} // namespace zerwa
