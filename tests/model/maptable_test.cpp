#include "model/maptable.h"
#include "model/variantprofiles.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

class DefaultTable : public ::testing::TestWithParam<const VariantProfile*> {};

TEST_P(DefaultTable, ResetWithAxesWritesTheProfileDefaults) {
    const VariantProfile& p = *GetParam();
    MapTable table = MapTable::forProfile(p);
    table.setCell(0, 0, QStringLiteral("corner"));
    resetMapTable(table, p, ResetScope::WithAxes);

    EXPECT_EQ(table.cell(0, 0), QString());
    for (int c = 1; c <= p.mapColumns; ++c)
        EXPECT_EQ(table.cell(c, 0), p.defaultHeadings.at(c - 1));
    for (int r = 1; r <= p.rpmRows; ++r) {
        EXPECT_EQ(table.cell(0, r), QString::number(p.defaultRpm(r)));
        for (int c = 1; c <= p.mapColumns; ++c)
            EXPECT_EQ(table.cell(c, r), QString::number(c));
    }
}

TEST_P(DefaultTable, ResetOfTheDataKeepsEditedAxes) {
    const VariantProfile& p = *GetParam();
    MapTable table = MapTable::forProfile(p);
    resetMapTable(table, p, ResetScope::WithAxes);
    table.setCell(0, 0, QStringLiteral("x"));
    table.setCell(1, 0, QStringLiteral("4.20"));
    table.setCell(0, 3, QStringLiteral("777"));
    table.setCell(2, 2, QStringLiteral("12,5"));
    resetMapTable(table, p, ResetScope::DataOnly);
    EXPECT_EQ(table.cell(0, 0), QStringLiteral("x"));
    EXPECT_EQ(table.cell(1, 0), QStringLiteral("4.20"));
    EXPECT_EQ(table.cell(0, 3), QStringLiteral("777"));
    EXPECT_EQ(table.cell(2, 2), QStringLiteral("2"));

    resetMapTable(table, p, ResetScope::WithAxes);
    EXPECT_EQ(table.cell(0, 0), QString());
    EXPECT_EQ(table.cell(1, 0), p.defaultHeadings.at(0));
    EXPECT_EQ(table.cell(0, 3), QString::number(p.defaultRpm(3)));
}

INSTANTIATE_TEST_SUITE_P(Profiles, DefaultTable, ::testing::ValuesIn(profiles::all()),
                         [](const auto& info) { return info.param->programName.toStdString(); });

TEST(ProfileTable, AxesAndSizesOfEachProgram) {
    const auto& p8 = profiles::zerwa8();
    const auto& p4 = profiles::zerwa4();
    const auto& p60 = profiles::zerwa4_60();
    EXPECT_EQ(p8.gridColumns() * p8.gridRows(), 9 * 16);
    EXPECT_EQ(p4.gridColumns() * p4.gridRows(), 5 * 31);
    EXPECT_EQ(p60.gridColumns() * p60.gridRows(), 5 * 61);
    EXPECT_EQ(p8.defaultRpm(1), 600);
    EXPECT_EQ(p8.defaultRpm(15), 4100);
    EXPECT_EQ(p4.defaultRpm(30), 7850);
    EXPECT_EQ(p60.defaultRpm(1), 650);
    EXPECT_EQ(p60.defaultRpm(2), 800);
    EXPECT_EQ(p60.defaultRpm(60), 9500);
    EXPECT_EQ(p8.defaultHeadings.size(), 8);
    EXPECT_EQ(p4.defaultHeadings, QStringList({"0.00", "2.40", "3.00", "3.60"}));
    EXPECT_EQ(p60.defaultHeadings, p4.defaultHeadings);
    EXPECT_EQ(p60.rpmCeiling, 12000);
    EXPECT_EQ(p4.rpmCeiling, 15000);
    EXPECT_FALSE(p60.cylinderItems.contains(QStringLiteral("1")));
    EXPECT_EQ(p8.gridColumnWidths.size(), p8.gridColumns());
    EXPECT_EQ(p4.gridColumnWidths.size(), p4.gridColumns());
    EXPECT_EQ(p8.initialRememberedCell, (CellPos{2, 1}));
    EXPECT_EQ(p60.initialRememberedCell, (CellPos{1, 1}));
    EXPECT_EQ(p8.frameLength, 127);
    EXPECT_EQ(p60.frameLength, 247);
}

} // namespace
