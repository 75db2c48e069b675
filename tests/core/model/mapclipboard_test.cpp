// SPDX-License-Identifier: GPL-3.0-or-later
// Copy and paste with spreadsheets: the text a copy makes, the shapes spreadsheets paste, and
// the all-or-nothing rule with the message that names the first cell a paste is refused for.
#include "core/model/mapclipboard.h"
#include "core/model/variantprofiles.h"
#include "core/support/gtestqt.h"

#include <gtest/gtest.h>

using namespace zerwa;
using namespace zerwa::mapclipboard;

namespace {

MapTable defaultTable(const VariantProfile& profile) {
    MapTable table = MapTable::forProfile(profile);
    resetMapTable(table, profile, ResetScope::WithAxes);
    return table;
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
