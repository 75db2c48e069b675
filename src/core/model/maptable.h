// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"

#include <QString>
#include <QStringList>

namespace zerwa {

// The map table as the user sees it: (L + 1) x (R + 1) text cells, addressed column first.
// Row 0 holds the column headings, column 0 the rpm break-points, the rest the data cells.
// Cells hold whatever text was typed or read; whoever needs a number converts it.
class MapTable {
public:
    MapTable() = default;
    MapTable(int columns, int rows);
    static MapTable forProfile(const VariantProfile& profile);

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    int mapColumns() const { return m_columns - 1; }
    int rpmRows() const { return m_rows - 1; }

    bool contains(int column, int row) const;
    const QString& cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    const QString& cell(CellPos pos) const { return cell(pos.column, pos.row); }
    void setCell(CellPos pos, const QString& text) { setCell(pos.column, pos.row, text); }

    // Cells by their place in row order (row 0 first), as a compact history records them.
    int cellCount() const { return m_columns * m_rows; }
    int indexOf(CellPos pos) const { return index(pos.column, pos.row); }
    CellPos posOf(int index) const { return {index % m_columns, index / m_columns}; }
    const QString& cellAt(int index) const { return m_cells.at(index); }
    void setCellAt(int index, const QString& text) { m_cells[index] = text; }

    friend bool operator==(const MapTable&, const MapTable&) = default;

private:
    int index(int column, int row) const { return row * m_columns + column; }

    int m_columns = 0;
    int m_rows = 0;
    QStringList m_cells;
};

// Which parts of the table a reset rewrites.
enum class ResetScope { DataOnly, WithAxes };

// Writes the profile's default table: every data cell of map column c holds the text of c;
// with the axes also the default rpm break-points, the default headings and an empty corner.
void resetMapTable(MapTable& table, const VariantProfile& profile, ResetScope scope);

} // namespace zerwa
