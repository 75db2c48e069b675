// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/settingsblock.h"
#include "core/model/variantprofiles.h"
#include "core/storage/mapfile.h"
#include "core/support/testfiles.h"

#include <QSize>
#include <QStringList>

namespace zerwa::test {

// What each program is, written out once by hand from the programs' description. Tests take
// their expectations from here, never from the profile under test.
struct ProgramFacts {
    const char* name;
    int mapColumns, rpmRows;
    int firstRpm, rpmStep; // default rpm of row i: firstRpm + (i - 1) * rpmStep
    QStringList headings;
    int rpmCeiling;
    QStringList cylinders;
    int portItems;
    bool firstPortSelected;
    QString defaultMapFile, workingFile, portFile, magic, helpFile;
    CellPos rememberedCell;
    int windowHeight, minHeight, maxHeight, gridHeight;
    QList<int> columnWidths; // rpm column first
    int fieldLeft, fieldWidth, enlargedChartHeight;
    QSize helpWindow;
    int frameLength, blockRows; // block rows: carried by cell blocks A and B, from the last up
    int mapFileLines;
    bool dialogCentred, slopeFill, captionShowsSavedFile;

    int defaultRpm(int row) const { return firstRpm + (row - 1) * rpmStep; }
    const VariantProfile& profile() const {
        for (const VariantProfile* p : profiles::all())
            if (p->programName == QLatin1String(name))
                return *p;
        throw std::logic_error(name);
    }
};

inline const QList<ProgramFacts>& programFacts() {
    // clang-format off
    static const QList<ProgramFacts> table = {
        {"zerwa8", 8, 15, 600, 250,
         {"0.00", "2.10", "2.40", "2.70", "3.00", "3.30", "3.60", "3.90"}, 15000,
         {"1", "2", "3", "4", "5", "6", "8"}, 4, true,
         "elso8.qmt", "Editv8.txt", "Edit.txt", "qmt8", "Helpv8.rtf", {2, 1},
         500, 500, 500, 389, {43, 36, 36, 36, 36, 36, 36, 36, 36}, 200, 87, 452, {790, 560},
         127, 15, 151, false, false, false},
        {"zerwa4", 4, 30, 600, 250, {"0.00", "2.40", "3.00", "3.60"}, 15000,
         {"1", "2", "3", "4", "5", "6", "8"}, 4, true,
         "elso.qmt", "Editv.txt", "Edit.txt", "qmt4", "Helpv4.rtf", {2, 1},
         495, 480, 780, 384, {37, 75, 73, 75, 72}, 208, 79, 444, {790, 560},
         127, 30, 162, false, false, false},
        {"zerwa4_60", 4, 60, 650, 150, {"0.00", "2.40", "3.00", "3.60"}, 12000,
         {"2", "3", "4", "5", "6", "8"}, 16, false,
         "elso.qmt", "Editv4_60.txt", "Editv4_60.txt", "qmt4_60", "Helpv4_60.rtf", {1, 1},
         491, 480, 780, 380, {37, 75, 73, 75, 72}, 208, 79, 444, {786, 556},
         247, 30, 312, true, true, true},
    };
    // clang-format on
    return table;
}

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

// Writes the map as its program saves it.
inline void writeMap(const QString& path, const VariantProfile& profile, const SampleMap& map) {
    writeBytes(path, *mapfile::encode(profile, {map.settings, map.table}));
}

// The frame index of data cell (column, row): the cells of the rows from the last block row
// up to row 1, each row from its last column down, fill indices 3..62 and then 66..125; the
// rows below the block rows (zerwa4_60) fill 126..245 the same way from the last row up.
inline int frameIndexOf(const ProgramFacts& f, int column, int row) {
    if (row > f.blockRows)
        return 126 + (f.rpmRows - row) * f.mapColumns + (f.mapColumns - column);
    const int k = (f.blockRows - row) * f.mapColumns + (f.mapColumns - column);
    return k <= 59 ? 3 + k : 6 + k;
}

// The frame of the worked example's settings (4 cylinders, 12000 rpm, 1,5 ms, 3 ms, rising
// input, falling output) with every cell 10, from the documented layout: 83 07 35, the cells,
// 0C 3A 0C, the cells, 4F.
inline QByteArray workedExampleFrame(int frameLength) {
    QByteArray frame(frameLength, char(0x14));
    frame.replace(0, 3, "\x83\x07\x35").replace(63, 3, "\x0C\x3A\x0C");
    frame[frameLength - 1] = 0x4F;
    return frame;
}

// Each frame byte followed by FF FF.
inline QByteArray wireOf(const QByteArray& frame) {
    QByteArray wire;
    for (const char byte : frame)
        wire += byte + QByteArray("\xFF\xFF");
    return wire;
}

} // namespace zerwa::test
