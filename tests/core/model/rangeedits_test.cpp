// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on a marked range, with results worked out by hand: what the device gets of
// each value, rounding to 0,5 with halves upwards, both bounds, texts kept where the device
// value stays, the axes in axis-edit mode, and all or nothing. And copy and paste with
// spreadsheets: the text a copy makes, the shapes spreadsheets paste, and the all-or-nothing
// rule with the message that names the first cell a paste is refused for.
#include "core/model/mapclipboard.h"
#include "core/model/rangeedits.h"
#include "core/support/gtestqt.h"
#include "core/support/programtable.h"

#include <gtest/gtest.h>

using namespace zerwa;
using namespace zerwa::mapclipboard;
using namespace zerwa::rangeedits;

namespace {

const NumberFormat comma(u',');
using Op = Operation;

// A program's default table (zerwa8's unless named): every data cell of column c holds c.
MapTable defaultTable(const VariantProfile& profile = profiles::zerwa8()) {
    return test::SampleMap(profile).table;
}

// The range's texts, row by row.
QStringList textsOf(const MapTable& table, CellRange range) {
    QStringList texts;
    for (int r = range.topLeft.row; r <= range.bottomRight.row; ++r)
        for (int c = range.topLeft.column; c <= range.bottomRight.column; ++c)
            texts << table.cell(c, r);
    return texts;
}

Target at(CellRange range, bool axisEditMode = false) {
    return {range, axisEditMode, profiles::zerwa8(), comma};
}

void write(MapTable& table, CellRange range, const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i)
        table.setCell(range.topLeft.column + i % range.width(),
                      range.topLeft.row + i / range.width(), texts.at(i));
}

struct Case {
    const char* name;
    Request request;
    CellRange range;
    const char* before; // the range's texts, row by row, separated by blanks
    const char* after;
    int held;
    bool axisEditMode = false;
};

// clang-format off
const Case kCases[] = {
    // Corners 2, 8, 14 and 32; the device keeps 9,5 of 9,7, so that cell keeps its text.
    {"bilinear 4 x 4", {Op::InterpolateBoth, ""}, {{1, 1}, {4, 4}},
     "2,2 1 1 8  1 9,7 1 1  1 1 1 1  14 1 1 32", "2,2 4 6 8  6 9,7 12,5 16  10 14,5 19,5 24  14 20 26 32", 0},
    {"one row", {Op::InterpolateBoth, ""}, {{1, 2}, {8, 2}}, "1 9 9 9 9 9 9 3", "1 1,5 1,5 2 2 2,5 2,5 3", 0},
    {"across only", {Op::InterpolateRows, ""}, {{1, 1}, {3, 2}}, "1 5 2  4 5 8", "1 1,5 2  4 6 8", 0},
    {"down only", {Op::InterpolateColumns, ""}, {{1, 1}, {2, 3}}, "1 4  5 5  2 8", "1 4  1,5 6  2 8", 0},
    {"halves go up", {Op::Add, "0,25"}, {{1, 1}, {3, 1}}, "12 0,5 63", "12,5 1 63,5", 0},
    {"a half down stays", {Op::Add, "-0,25"}, {{1, 1}, {2, 1}}, "12 12,3", "12 12,3", 0},
    {"add 1", {Op::Add, "1"}, {{1, 1}, {1, 1}}, "12,3", "13", 0},
    {"up to the top", {Op::Add, "60"}, {{1, 1}, {3, 1}}, "1 3,5 4", "61 63,5 63,5", 1},
    {"far below", {Op::Add, "-100"}, {{1, 1}, {2, 1}}, "12 0,5", "0,5 0,5", 2},
    {"every cell clamps", {Op::Add, "1E300"}, {{1, 1}, {2, 1}}, "1 -3", "63,5 63,5", 2},
    {"exactly", {Op::Add, "-99999999999999999990"}, {{1, 1}, {1, 1}}, "1E20", "10", 0},
    {"out of range values", {Op::Add, "0"}, {{1, 1}, {2, 1}}, "-3 70", "0,5 63,5", 2},
    {"scale 100 %", {Op::Scale, "100"}, {{1, 1}, {1, 1}}, "12,3", "12,3", 0},
    {"scale 0,5 by 50 %", {Op::Scale, "50"}, {{1, 1}, {2, 1}}, "0,5 1,5", "0,5 1", 1},
    {"scale by 110 %", {Op::Scale, "110"}, {{1, 1}, {2, 1}}, "20 60", "22 63,5", 1},
    {"smoothing a spike", {Op::Smooth, ""}, {{2, 2}, {4, 4}},
     "10 10 10  10 26 10  10 10 10", "12 12,5 12  12,5 14 12,5  12 12,5 12", 0},
    // In axis-edit mode rpm values are whole, within 600 .. 15000; headings take no addition.
    {"rpm values", {Op::Add, "0,4"}, {{0, 1}, {1, 3}}, "600 1  1000 1  1000,5 1", "600 1,5  1000 1,5  1001 1,5", 0, true},
    {"rpm bound", {Op::Add, "-1000"}, {{0, 1}, {0, 3}}, "600 1000 1000,5", "600 600 600", 3, true},
    {"rpm interpolated", {Op::InterpolateColumns, ""}, {{0, 1}, {1, 3}}, "600 1  1000 1  1000,5 1", "600 1  800 1  1000,5 1", 0, true},
    {"rpm not scaled", {Op::Scale, "200"}, {{0, 1}, {1, 2}}, "600 1  1000 2", "600 2  1000 4", 0, true},
    {"headings not added to", {Op::Add, "1"}, {{1, 0}, {1, 1}}, "0.00 1", "0.00 2", 0, true},
    {"only data cells otherwise", {Op::Add, "1"}, {{0, 1}, {1, 2}}, "600 1  1000 1", "600 2  1000 2", 0},
};
// clang-format on

QStringList words(const char* texts) {
    return QString::fromUtf8(texts).split(u' ', Qt::SkipEmptyParts);
}

class Operations : public testing::TestWithParam<Case> {};

TEST_P(Operations, GiveTheHandWorkedTexts) {
    const Case& c = GetParam();
    SCOPED_TRACE(c.name);
    MapTable table = defaultTable();
    write(table, c.range, words(c.before));
    const Plan result = plan(table, at(c.range, c.axisEditMode), c.request);
    ASSERT_TRUE(result.after) << result.refusal;
    EXPECT_EQ(textsOf(*result.after, c.range), words(c.after));
    write(table, c.range, words(c.after));
    EXPECT_EQ(*result.after, table); // nothing outside the range
    EXPECT_EQ(result.held, c.held);
}
INSTANTIATE_TEST_SUITE_P(Range, Operations, testing::ValuesIn(kCases));

TEST(RangeEdits, NothingChangesForTextThatIsNotANumberOrABadAmount) {
    MapTable table = defaultTable();
    table.setCell(2, 3, "abc");
    table.setCell(0, 3, "%4"); // an rpm text from a file, named as it stands
    const Target target = at({{1, 1}, {3, 4}});
    EXPECT_EQ(plan(table, target, {Op::InterpolateBoth, ""}).refusal,
              "A művelet nem végezhető el, a táblázat nem változott.\nCella: 3. sor (%4), "
              "2. oszlop (2.10)\nÉrték: „abc”\nA cellában nem szám áll.");
    table.setCell(2, 3, "2");
    const std::pair<Request, QString> amounts[] = {
        {{Op::Add, ""}, "Adja meg az értéket!"},
        {{Op::Add, "1.5"}, "Az érték nem szám!\nA tizedesjel a vessző („,”), nem a pont."},
        {{Op::Scale, "-5"}, "A százalék 0-nál nagyobb szám lehet!"}};
    for (const auto& [request, problem] : amounts) {
        const Plan refused = plan(table, target, request);
        EXPECT_FALSE(refused.after);
        EXPECT_EQ(refused.problem, problem);
    }
    const Plan added = plan(table, target, {Op::Add, "61"});
    EXPECT_EQ(added.preview(), "12 cella változik, 4 a határon");
}

TEST(RangeEdits, AFillTakesEveryKindInAxisEditModeOrNone) {
    MapTable table = defaultTable();
    table.setCell(0, 2, "1000");
    table.setCell(1, 0, "x"); // a fill of headings; of the other cells only the data cells
    EXPECT_EQ(textsOf(*planFill(table, at({{1, 0}, {2, 0}}, true), {1, 0}).after, {{1, 0}, {2, 0}}),
              QStringList({"x", "x"}));
    const Plan filled = planFill(table, at({{0, 0}, {2, 2}}), {1, 1});
    EXPECT_EQ(textsOf(*filled.after, {{0, 0}, {2, 2}}),
              QStringList({"", "x", "2.10", "600", "1", "1", "1000", "1", "1"}));
    EXPECT_EQ(filled.changed, 2);
    EXPECT_EQ(planFill(table, at({{0, 0}, {1, 3}}, true), {1, 0}).refusal,
              "A kitöltés nem lehetséges, a táblázat nem változott.\nCella: 1. sor, fordulatszám "
              "oszlop\nÉrték: „x”\nAz érték 600 - 15000 között lehet!");
}

TEST(RangeEdits, AddingABlockIsAllOrNothing) {
    MapTable table = defaultTable();
    table.setCell(2, 2, "12,3");
    const Plan added = planAddBlock(table, at({{1, 1}, {1, 1}}), "1\t0,25\n\"-100\"\t1");
    EXPECT_EQ(textsOf(*added.after, {{1, 1}, {2, 2}}), QStringList({"2", "2,5", "0,5", "13"}));
    const std::pair<QString, QString> refusals[] = {
        {"1\t2\n3\tabc", "Cella: 2. sor (850), 2. oszlop (2.10)\nÉrték: „abc”\nA hozzáadandó érték "
                         "nem szám."},
        {"1\n1,5\t2.5", "Cella: 2. sor (850), 2. oszlop (2.10)\nÉrték: „2.5”\nA hozzáadandó érték "
                        "nem szám.\nA tizedesjel a vessző („,”), nem a pont."}};
    for (const auto& [text, problem] : refusals)
        EXPECT_EQ(planAddBlock(table, at({{1, 1}, {1, 1}}), text).problem, problem);
    table.setCell(1, 15, "x");
    EXPECT_EQ(planAddBlock(table, at({{1, 15}, {1, 15}}), "1\n2").problem,
              "A blokk 2 sor × 1 oszlop, a kijelölt cellától 1 sor × 8 oszlop fér el.\nAz első "
              "kilógó érték: „2”");
    EXPECT_EQ(planAddBlock(table, at({{1, 15}, {1, 15}}), "1").refusal,
              "A hozzáadás nem lehetséges, a táblázat nem változott.\nCella: 15. sor (4100), 1. "
              "oszlop (0.00)\nÉrték: „x”\nA cellában nem szám áll.");
    EXPECT_EQ(planAddBlock(table, at({{1, 0}, {1, 0}}, true), "1").problem,
              "Cella: fejléc, 1. oszlop\nÉrték: „1”\nFejléchez nem adható hozzá érték.");
}

MapTable pasted(const MapTable& table, const QString& text, CellPos at, bool axes = false) {
    const PastePlan plan = planPaste(table, text, at, axes, profiles::zerwa8(), NumberFormat(u','));
    EXPECT_EQ(plan.refusal, QString());
    return plan.after.value_or(MapTable());
}

TEST(MapClipboard, ACopiedRangePastedElsewhereHoldsTheSameTexts) {
    MapTable table = defaultTable(profiles::zerwa8());
    table.setCell(2, 3, "05");
    table.setCell(3, 3, "12,5");
    table.setCell(2, 4, "63,5");
    const QString text = copyText(table, {2, 3}, {3, 4});
    EXPECT_EQ(text, "05\t12,5\n63,5\t3\n");
    const MapTable after = pasted(table, text, {5, 10});
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(after.cell(5 + c, 10 + r), table.cell(2 + c, 3 + r));
}

TEST(MapClipboard, TheWholeMapCopiesWithItsAxes) {
    const MapTable table = defaultTable(profiles::zerwa4());
    const QStringList lines = copyText(table, {0, 0}, {4, 30}).split(u'\n');
    EXPECT_EQ(lines.size(), 32); // 31 rows, each ending in a line end
    EXPECT_EQ(lines.at(0), "\t0.00\t2.40\t3.00\t3.60");
    EXPECT_EQ(lines.at(1), "600\t1\t2\t3\t4");
    EXPECT_EQ(lines.at(30), "7850\t1\t2\t3\t4");
}

TEST(MapClipboard, ATextThatAQuoteOrATabWouldSplitIsQuotedAndComesBackWhole) {
    MapTable table = defaultTable(profiles::zerwa8());
    table.setCell(1, 0, "\"2.40\"");
    table.setCell(2, 0, "a\tb");
    EXPECT_EQ(copyText(table, {1, 0}, {2, 0}), "\"\"\"2.40\"\"\"\t\"a\tb\"\n");
    EXPECT_EQ(parse(copyText(table, {1, 0}, {2, 0})), Block({{"\"2.40\"", "a\tb"}}));
}

TEST(MapClipboard, SpreadsheetShapesArePasted) {
    const MapTable table = defaultTable(profiles::zerwa8());
    // LibreOffice: LF, a line end after the last row, quoted cells.
    MapTable after = pasted(table, "1,5\t\"2\"\n\"3,25\"\t4\n", {1, 1});
    EXPECT_EQ(QStringList({after.cell(1, 1), after.cell(2, 1), after.cell(1, 2), after.cell(2, 2)}),
              QStringList({"1,5", "2", "3,25", "4"}));
    // Excel: CR LF.
    after = pasted(table, "7\t8\r\n9\t10\r\n", {7, 14});
    EXPECT_EQ(
        QStringList({after.cell(7, 14), after.cell(8, 14), after.cell(7, 15), after.cell(8, 15)}),
        QStringList({"7", "8", "9", "10"}));
    // One value, no line end.
    EXPECT_EQ(pasted(table, "12,5", {3, 3}).cell(3, 3), "12,5");
    // Axes in axis-edit mode: an rpm break-point and a heading of any text.
    after = pasted(table, "\tfej\n700\t5\n", {0, 0}, true);
    EXPECT_EQ(QStringList({after.cell(0, 0), after.cell(1, 0), after.cell(0, 1), after.cell(1, 1)}),
              QStringList({"", "fej", "700", "5"}));
}

struct Refusal {
    const char* name;
    QString text;
    CellPos at;
    bool axes;
    QString message;
};

class RefusedPaste : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedPaste, ChangesNothingAndNamesTheFirstOffendingCell) {
    const Refusal& r = GetParam();
    const PastePlan plan = planPaste(defaultTable(profiles::zerwa8()), r.text, r.at, r.axes,
                                     profiles::zerwa8(), NumberFormat(u','));
    EXPECT_FALSE(plan.after.has_value());
    EXPECT_EQ(plan.refusal, r.message);
}

const QString kRefused = "A beillesztés nem lehetséges, a táblázat nem változott.\n";
const QString kData = "Az érték 0,5 - 63,5 közötti szám!";

// clang-format off
INSTANTIATE_TEST_SUITE_P(AllOrNothing, RefusedPaste, testing::Values(
    Refusal{"larger than the room", "1\t2\t3\n4\t5\t6\n", {7, 15}, false, kRefused +
        "A blokk 2 sor × 3 oszlop, a kijelölt cellától 1 sor × 2 oszlop fér el.\nAz első kilógó érték: „3”"},
    Refusal{"an invalid value in the middle", "1\t2\n70\t4\n", {2, 3}, false, kRefused +
        "Cella: 4. sor (1350), 2. oszlop (2.10)\nÉrték: „70”\n" + kData},
    Refusal{"a point decimal", "1\n2.5\n", {3, 1}, false, kRefused +
        "Cella: 2. sor (850), 3. oszlop (2.40)\nÉrték: „2.5”\n" + kData +
        "\nA tizedesjel a vessző („,”), nem a pont."},
    Refusal{"an rpm cell outside axis-edit mode", "700\t5\n", {0, 2}, false, kRefused +
        "Cella: 2. sor, fordulatszám oszlop\nÉrték: „700”\nA tengelyek csak szerkesztő módban (Edit) írhatók."},
    Refusal{"an rpm cell out of range", "500\n", {0, 2}, true, kRefused +
        "Cella: 2. sor, fordulatszám oszlop\nÉrték: „500”\nAz érték 600 - 15000 között lehet!"},
    Refusal{"a line break in a quoted cell", "\"1\n2\"\n", {1, 0}, true, kRefused +
        "Cella: fejléc, 1. oszlop\nÉrték: „1\n2”\nEgy cella nem tartalmazhat tabulátort vagy sortörést."},
    Refusal{"ten thousand columns", QString(9999, u'\t') + "1\n", {1, 1}, false, kRefused +
        "A blokk 1 sor × 10000 oszlop, a kijelölt cellától 15 sor × 8 oszlop fér el.\nAz első kilógó érték: üres"},
    Refusal{"an empty value", "5\t\n", {1, 1}, false, kRefused +
        "Cella: 1. sor (600), 2. oszlop (2.10)\nÉrték: üres\n" + kData},
    Refusal{"a whole map outside axis-edit mode", (QString("1\t").repeated(8) + "1\n").repeated(16), {1, 1}, false, kRefused +
        "A blokk 16 sor × 9 oszlop, a tengelyek nélkül 15 sor × 8 oszlop fér el.\nA tengelyekkel együtt csak szerkesztő módban (Edit) illeszthető be."},
    Refusal{"a value longer than a map file line", QString(70000, u'a') + "\tb\n12,5\t13", {1, 0}, true, kRefused +
        "Cella: fejléc, 1. oszlop\nÉrték: „" + QString(60, u'a') + "…”\nEgy cella legfeljebb 32767 karaktert tartalmazhat."},
    Refusal{"a NUL", QString(QChar(0)) + "5\n", {1, 1}, false, kRefused +
        "Cella: 1. sor (600), 1. oszlop (0.00)\nÉrték: „" + QChar(0) + "5”\n" + kData},
    Refusal{"only line ends", "\r\n", {1, 1}, false, kRefused + "A vágólapon nincs beilleszthető adat."},
    Refusal{"too much text", QString(kMaxTextLength + 1, u'1'), {1, 1}, false, kRefused +
        "A vágólapon túl sok adat van: legfeljebb 1 MB szöveg illeszthető be."}));
// clang-format on

} // namespace
