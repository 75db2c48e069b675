#pragma once

#include "model/maptable.h"
#include "model/settingsblock.h"
#include "model/variantprofile.h"

namespace zerwa::test {

// A map that may be sent: the default table (every data cell of column c holding c) and the
// settings of the worked example: 4 cylinders, 12000 rpm, 1,5 ms, 3 ms, rising input,
// falling output.
struct SampleMap {
    MapTable table;
    SettingsBlock settings{"4", "12000", "1,5", "3", "Felfutó", "Lefutó"};

    explicit SampleMap(const VariantProfile& profile)
        : table(MapTable::forProfile(profile)) {
        resetMapTable(table, profile, ResetScope::WithAxes);
    }
    SampleMap& fill(const QString& text) {
        for (int row = 1; row < table.rows(); ++row)
            for (int column = 1; column < table.columns(); ++column)
                table.setCell(column, row, text);
        return *this;
    }
};

// The frame index of data cell (column, row): the cells of the rows from the last block row
// up to row 1, each row from its last column down, fill indices 3..62 and then 66..125; the
// rows below the block rows (zerwa4_60) fill 126..245 the same way from the last row up.
inline int frameIndexOf(int blockRows, int rows, int columns, int column, int row) {
    if (row > blockRows)
        return 126 + (rows - row) * columns + (columns - column);
    const int k = (blockRows - row) * columns + (columns - column);
    return k <= 59 ? 3 + k : 6 + k;
}

} // namespace zerwa::test
