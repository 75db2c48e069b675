#pragma once

#include "model/variantprofile.h"
#include "model/variantprofiles.h"

#include <QByteArray>
#include <QList>

#include <stdexcept>

namespace zerwa::test {

// Each program's map file written out by hand from the file layout, so that tests hold the
// writer against the layout rather than against itself.
struct ProgramLayout {
    const char* program;
    QByteArray magic;
    int columns; // grid columns, rpm column included
    int rows;    // grid rows, heading row included
    int rpmStep; // default rpm of row i: step * i + offset
    int rpmOffset;
    QList<QByteArray> headings;
    int lines;
};

inline const QList<ProgramLayout>& programLayouts() {
    static const QList<ProgramLayout> layouts = {
        {"zerwa8",
         "qmt8",
         9,
         16,
         250,
         350,
         {"0.00", "2.10", "2.40", "2.70", "3.00", "3.30", "3.60", "3.90"},
         151},
        {"zerwa4", "qmt4", 5, 31, 250, 350, {"0.00", "2.40", "3.00", "3.60"}, 162},
        {"zerwa4_60", "qmt4_60", 5, 61, 150, 500, {"0.00", "2.40", "3.00", "3.60"}, 312},
    };
    return layouts;
}

inline const VariantProfile& profileOf(const ProgramLayout& layout) {
    for (const VariantProfile* profile : profiles::all()) {
        if (profile->programName == QLatin1String(layout.program))
            return *profile;
    }
    throw std::logic_error("no such program");
}

// Every line followed by CR LF.
inline QByteArray crlfFile(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// The lines of a file holding the start-up table (empty corner, default headings and rpm,
// every data cell of column c holding c) and the given settings lines (the missing ones of
// the six empty).
inline QList<QByteArray> defaultMapLines(const ProgramLayout& layout, QList<QByteArray> settings) {
    while (settings.size() < 6)
        settings << QByteArray();
    QList<QByteArray> lines = {layout.magic};
    lines += settings;
    lines << QByteArray();
    lines += layout.headings;
    for (int row = 1; row < layout.rows; ++row) {
        lines << QByteArray::number(layout.rpmStep * row + layout.rpmOffset);
        for (int column = 1; column < layout.columns; ++column)
            lines << QByteArray::number(column);
    }
    return lines;
}

} // namespace zerwa::test
