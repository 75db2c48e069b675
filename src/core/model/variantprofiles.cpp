// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/variantprofiles.h"

namespace zerwa::profiles {

namespace {

VariantProfile makeZerwa8() {
    VariantProfile p;
    p.programName = QStringLiteral("zerwa8");
    p.mapColumns = 8;
    p.rpmRows = 15;
    p.defaultRpmStep = 250;
    p.defaultRpmOffset = 350;
    p.defaultHeadings = {"0.00", "2.10", "2.40", "2.70", "3.00", "3.30", "3.60", "3.90"};
    p.rpmCeiling = 15000;
    p.cylinderItems = {"1", "2", "3", "4", "5", "6", "8"};
    p.portItemCount = 4;
    p.firstPortSelectedAtStart = true;
    p.defaultMapFileName = QStringLiteral("elso8.qmt");
    p.workingFileName = QStringLiteral("Editv8.txt");
    p.portUpdateFileName = QStringLiteral("Edit.txt");
    p.mapFileMagic = QStringLiteral("qmt8");
    p.helpFileName = QStringLiteral("Helpv8.rtf");
    p.captionShowsSavedFile = false;
    p.initialRememberedCell = {2, 1};
    p.windowHeight = 500;
    p.windowMinHeight = 500;
    p.windowMaxHeight = 500;
    p.gridHeight = 389;
    p.gridColumnWidths = {43, 36, 36, 36, 36, 36, 36, 36, 36};
    p.settingsFieldLeft = 200;
    p.settingsFieldWidth = 87;
    p.enlargedChartHeightMargin = 48;
    p.helpWindowWidth = 790;
    p.helpWindowHeight = 560;
    p.frameLength = 127;
    p.frameBlockRows = 15;
    p.correctionDialogCentred = false;
    p.hasSlopeFill = false;
    return p;
}

VariantProfile makeZerwa4() {
    VariantProfile p = makeZerwa8();
    p.programName = QStringLiteral("zerwa4");
    p.mapColumns = 4;
    p.rpmRows = 30;
    p.defaultHeadings = {"0.00", "2.40", "3.00", "3.60"};
    p.defaultMapFileName = QStringLiteral("elso.qmt");
    p.workingFileName = QStringLiteral("Editv.txt");
    p.mapFileMagic = QStringLiteral("qmt4");
    p.helpFileName = QStringLiteral("Helpv4.rtf");
    p.windowHeight = 495;
    p.windowMinHeight = 480;
    p.windowMaxHeight = 780;
    p.gridHeight = 384;
    p.gridColumnWidths = {37, 75, 73, 75, 72};
    p.settingsFieldLeft = 208;
    p.settingsFieldWidth = 79;
    p.enlargedChartHeightMargin = 36;
    p.frameBlockRows = 30;
    return p;
}

VariantProfile makeZerwa4_60() {
    VariantProfile p = makeZerwa4();
    p.programName = QStringLiteral("zerwa4_60");
    p.rpmRows = 60;
    p.defaultRpmStep = 150;
    p.defaultRpmOffset = 500;
    p.rpmCeiling = 12000;
    p.cylinderItems = {"2", "3", "4", "5", "6", "8"};
    p.portItemCount = 16;
    p.firstPortSelectedAtStart = false;
    p.workingFileName = QStringLiteral("Editv4_60.txt");
    p.portUpdateFileName = QStringLiteral("Editv4_60.txt");
    p.mapFileMagic = QStringLiteral("qmt4_60");
    p.helpFileName = QStringLiteral("Helpv4_60.rtf");
    p.captionShowsSavedFile = true;
    p.initialRememberedCell = {1, 1};
    p.windowHeight = 491;
    p.gridHeight = 380;
    p.helpWindowWidth = 786;
    p.helpWindowHeight = 556;
    p.frameLength = 247;
    p.correctionDialogCentred = true;
    p.hasSlopeFill = true;
    return p;
}

} // namespace

const VariantProfile& zerwa8() {
    static const VariantProfile profile = makeZerwa8();
    return profile;
}

const VariantProfile& zerwa4() {
    static const VariantProfile profile = makeZerwa4();
    return profile;
}

const VariantProfile& zerwa4_60() {
    static const VariantProfile profile = makeZerwa4_60();
    return profile;
}

QList<const VariantProfile*> all() {
    return {&zerwa8(), &zerwa4(), &zerwa4_60()};
}

const VariantProfile* forMagic(QStringView magic) {
    for (const VariantProfile* profile : all()) {
        if (profile->mapFileMagic == magic)
            return profile;
    }
    return nullptr;
}

const VariantProfile* forProgramName(QStringView name) {
    for (const VariantProfile* profile : all()) {
        if (profile->programName == name)
            return profile;
    }
    return nullptr;
}

} // namespace zerwa::profiles
