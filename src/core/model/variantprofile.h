// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace zerwa {

// A grid position, column first, both from 0 (row 0 holds the headings, column 0 the rpm
// break-points).
struct CellPos {
    int column = 0;
    int row = 0;
    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// Every constant that tells the three programs apart. Nothing else in the code asks which
// program it is; it asks its profile.
struct VariantProfile {
    QString programName; // executable name, also used for the application name

    // Map table
    int mapColumns = 0;     // L, also the number of chart lines
    int rpmRows = 0;        // R, also the number of chart points per line
    int defaultRpmStep = 0; // default rpm of row i is step * i + offset
    int defaultRpmOffset = 0;
    QStringList defaultHeadings; // columns 1..L, written as they stand
    int rpmCeiling = 0;          // rpm cells and the limiting rpm

    // Settings and port lists
    QStringList cylinderItems;
    int portItemCount = 0;
    bool firstPortSelectedAtStart = false;

    // Files
    QString defaultMapFileName;
    QString workingFileName;    // read at start-up, written on save
    QString portUpdateFileName; // its line 2 is updated when a port is confirmed
    QString mapFileMagic;
    QString helpFileName;
    bool captionShowsSavedFile = false; // a save also puts the saved file's name in the caption

    CellPos initialRememberedCell;

    // Main window geometry
    int windowHeight = 0;
    int windowMinHeight = 0;
    int windowMaxHeight = 0;
    int gridHeight = 0;
    QList<int> gridColumnWidths; // column 0 first
    int settingsFieldLeft = 0;
    int settingsFieldWidth = 0;
    int enlargedChartHeightMargin = 0; // enlarged chart height = minimum height - this

    // Help window size
    int helpWindowWidth = 0;
    int helpWindowHeight = 0;

    // Download frame
    int frameLength = 0;    // 127 or 247 bytes
    int frameBlockRows = 0; // rows carried by cell blocks A and B (from the last one down)

    bool correctionDialogCentred = false; // otherwise at a fixed screen position
    bool hasSlopeFill = false;

    int gridColumns() const { return mapColumns + 1; }
    int gridRows() const { return rpmRows + 1; }
    int defaultRpm(int row) const { return defaultRpmStep * row + defaultRpmOffset; }
};

} // namespace zerwa
