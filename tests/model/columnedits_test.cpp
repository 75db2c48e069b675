#include "model/columnedits.h"
#include "model/variantprofiles.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

using namespace zerwa;
using namespace zerwa::columnedits;

namespace {

const NumberFormat comma(u',');

// A zerwa4_60-sized table whose column 2 holds the given texts from row 1 down.
MapTable tableWithColumn(const QStringList& texts) {
    MapTable table = MapTable::forProfile(profiles::zerwa4_60());
    resetMapTable(table, profiles::zerwa4_60(), ResetScope::WithAxes);
    for (int i = 0; i < texts.size(); ++i)
        table.setCell(2, i + 1, texts.at(i));
    return table;
}

QStringList column(const MapTable& table, int c, int from, int to) {
    QStringList texts;
    for (int r = from; r <= to; ++r)
        texts << table.cell(c, r);
    return texts;
}

TEST(BulkStep, RaisesClampOnlyAtTheTop) {
    MapTable table = tableWithColumn({"1", "63", "63,5", "-3", "05"});
    bulkStep(table, 2, {0.5}, comma);
    EXPECT_EQ(column(table, 2, 1, 5), QStringList({"1,5", "63,5", "63,5", "-2,5", "5,5"}));
    EXPECT_EQ(table.cell(2, 60), QStringLiteral("2,5"));
    EXPECT_EQ(table.cell(1, 1), QStringLiteral("1"));    // other columns untouched
    EXPECT_EQ(table.cell(2, 0), QStringLiteral("2.40")); // headings untouched
}

TEST(BulkStep, LowersClampOnlyAtTheBottom) {
    MapTable table = tableWithColumn({"3", "8,5", "9", "70", "0,5"});
    bulkStep(table, 2, {-8}, comma);
    EXPECT_EQ(column(table, 2, 1, 5), QStringList({"0,5", "0,5", "1", "62", "0,5"}));
    MapTable high = tableWithColumn({"70"});
    bulkStep(high, 2, {-0.5}, comma);
    EXPECT_EQ(high.cell(2, 1), QStringLiteral("69,5"));
}

TEST(BulkStep, ATextCellStopsAtItsRow) {
    MapTable table = tableWithColumn({"1", "2", "abc", "4"});
    EXPECT_THROW(bulkStep(table, 2, {1}, comma), ConversionError);
    EXPECT_EQ(column(table, 2, 1, 4), QStringList({"2", "3", "abc", "4"}));
}

TEST(SlopeFillEntries, AcceptanceRule) {
    struct Case {
        const char* slope;
        const char* steps;
        bool accepted;
    };
    const Case cases[] = {
        {"8,9", "1", true},          {"-8,9", "1", true},
        {"9", "1", false},           {"-9", "1", false},
        {"0", "100", true},          {"", "3", false},
        {"abc", "3", false},         {"1,5", "0", false},
        {"1,5", "-2", false},        {"1,5", "", false},
        {"1,5", "2,5", false},       {"1,5", "x", false},
        {"1.5", "4", false},         {"8", "4", true},
        {"-1", "4", true},           {"1", " 4 ", true},
        {"1", "99999999999", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(acceptsSlopeFill(QString::fromUtf8(c.slope), QString::fromUtf8(c.steps), comma),
                  c.accepted)
            << c.slope << " / " << c.steps;
    }
    EXPECT_EQ(slopeFillRefusal(), QStringLiteral("Hibás értéket adott meg, az emelkedés -8 -tól "
                                                 "+8-ig, \n a lépés 1 - 60 -ig elfogadott."));
}

TEST(SlopeFill, WritesAStraightRunBelowTheStartCell) {
    MapTable table = tableWithColumn({});
    table.setCell(2, 10, QStringLiteral("20"));
    slopeFill(table, 2, 10, readSlopeFill("1,5", "4", comma), comma);
    EXPECT_EQ(column(table, 2, 10, 15), QStringList({"20", "21,5", "23", "24,5", "26", "2"}));
}

TEST(SlopeFill, ClampsAfterEveryAddition) {
    MapTable down = tableWithColumn({"8"});
    slopeFill(down, 2, 1, {-5, 3}, comma);
    EXPECT_EQ(column(down, 2, 1, 5), QStringList({"8", "3", "0,5", "0,5", "2"}));

    MapTable high = tableWithColumn({"70"});
    slopeFill(high, 2, 1, {-1, 3}, comma);
    EXPECT_EQ(column(high, 2, 2, 4), QStringList({"63,5", "62,5", "61,5"}));
}

TEST(SlopeFill, StopsAtTheLastRow) {
    MapTable table = tableWithColumn({});
    slopeFill(table, 2, 58, {1, 10}, comma);
    EXPECT_EQ(column(table, 2, 58, 60), QStringList({"2", "3", "4"}));
    MapTable last = tableWithColumn({});
    slopeFill(last, 2, 60, {1, 10}, comma);
    EXPECT_EQ(last, tableWithColumn({}));
    MapTable all = tableWithColumn({"1"});
    slopeFill(all, 2, 1, {0.5, 100}, comma);
    EXPECT_EQ(all.cell(2, 60), QStringLiteral("30,5"));
}

TEST(SlopeFill, ABadStartCellWritesNothing) {
    MapTable table = tableWithColumn({"x"});
    const MapTable before = table;
    EXPECT_THROW(slopeFill(table, 2, 1, {1, 5}, comma), ConversionError);
    EXPECT_EQ(table, before);
    // A heading (row 0, axis-edit mode) with a point is not a number on a comma system.
    EXPECT_THROW(slopeFill(table, 2, 0, {1, 5}, comma), ConversionError);
}

TEST(WholeNumber, Forms) {
    EXPECT_EQ(parseWholeNumber("12"), 12);
    EXPECT_EQ(parseWholeNumber(" -3 "), -3);
    EXPECT_EQ(parseWholeNumber("+7"), 7);
    EXPECT_FALSE(parseWholeNumber(""));
    EXPECT_FALSE(parseWholeNumber("-"));
    EXPECT_FALSE(parseWholeNumber("1,0"));
    EXPECT_FALSE(parseWholeNumber("2147483648"));
    EXPECT_EQ(parseWholeNumber("2147483647"), 2147483647);
}

} // namespace
