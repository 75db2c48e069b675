// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/model/cellrules.h"
#include "core/model/columnedits.h"
#include "core/model/decimalnumber.h"
#include "core/model/mapdifferences.h"
#include "core/model/numberformat.h"
#include "core/model/settingsrules.h"
#include "core/support/gtestqt.h"
#include "core/support/programtable.h"

#include <gtest/gtest.h>

using namespace zerwa;
using test::ProgramFacts;

namespace {

const NumberFormat comma(u',');
const NumberFormat point(u'.');

// One run per program: 0 zerwa8, 1 zerwa4, 2 zerwa4_60.
class Program : public testing::TestWithParam<int> {};

TEST_P(Program, ResetWritesTheDefaultTableAndKeepsEditedAxesWhenAsked) {
    const ProgramFacts& f = test::programFacts().at(GetParam());
    MapTable table = MapTable::forProfile(f.profile());
    ASSERT_EQ(table.columns(), f.mapColumns + 1);
    ASSERT_EQ(table.rows(), f.rpmRows + 1);
    table.setCell(0, 0, "corner");
    resetMapTable(table, f.profile(), ResetScope::WithAxes);
    EXPECT_EQ(table.cell(0, 0), QString());
    for (int c = 1; c <= f.mapColumns; ++c)
        EXPECT_EQ(table.cell(c, 0), f.headings.at(c - 1));
    for (int r = 1; r <= f.rpmRows; ++r) {
        EXPECT_EQ(table.cell(0, r), QString::number(f.defaultRpm(r)));
        for (int c = 1; c <= f.mapColumns; ++c)
            EXPECT_EQ(table.cell(c, r), QString::number(c));
    }

    table.setCell(1, 0, "4.20");
    table.setCell(0, 3, "777");
    table.setCell(2, 2, "12,5");
    resetMapTable(table, f.profile(), ResetScope::DataOnly);
    EXPECT_EQ(table.cell(1, 0), QStringLiteral("4.20"));
    EXPECT_EQ(table.cell(0, 3), QStringLiteral("777"));
    EXPECT_EQ(table.cell(2, 2), QStringLiteral("2"));
}

TEST_P(Program, CellRanges) {
    const ProgramFacts& f = test::programFacts().at(GetParam());
    const bool wide = f.rpmCeiling == 15000;
    // clang-format off
    const std::tuple<CellPos, const char*, bool> cases[] = {
        {{0, 1}, "600", true}, {{0, f.rpmRows}, "599,99", false}, {{0, 1}, "-1", false}, {{0, 1}, "1e3", true},
        {{0, 1}, "12000", true}, {{0, 1}, "12001", wide}, {{0, 1}, "15000", wide}, {{0, 1}, "15001", false},
        {{1, 1}, "0,5", true}, {{f.mapColumns, f.rpmRows}, "63,5", true}, {{1, 1}, "0,49", false},
        {{1, 1}, "63,51", false}, {{1, 1}, "1.5", false}, {{1, 1}, "", false}};
    // clang-format on
    for (const auto& [cell, text, accepted] : cases)
        EXPECT_EQ(cellrules::accepts(text, *cellrules::rangeOf(cell, f.profile()), comma), accepted)
            << text;
    EXPECT_FALSE(cellrules::rangeOf({1, 0}, f.profile()) ||
                 cellrules::rangeOf({0, 0}, f.profile()));
    EXPECT_EQ(cellrules::rangeText({0, 3}, f.profile(), comma),
              QStringLiteral("Az érték 600 - %1 között lehet!").arg(f.rpmCeiling));
    EXPECT_EQ(cellrules::rangeText({1, 3}, f.profile(), point),
              "Az érték 0.5 - 63.5 közötti szám!");
}

INSTANTIATE_TEST_SUITE_P(Programs, Program, testing::Range(0, 3));

struct ParseCase {
    const char* text;
    double onComma; // -1: not a number
    double onPoint;
};

TEST(Numbers, FallbackConversionUsesTheLocaleSeparatorOnly) {
    const ParseCase cases[] = {
        {"12,5", 12.5, -1},   {"2.5", -1, 2.5},        {"05", 5, 5},        {"", -1, -1},
        {"-1", -1, -1},       {" *", -1, -1},          {"0,5", 0.5, -1},    {"+3", 3, 3},
        {",5", 0.5, -1},      {"5,", 5, -1},           {" 7 ", 7, 7},       {"1e3", 1000, 1000},
        {"1E-2", 0.01, 0.01}, {"1,5e1", 15, -1},       {"1 234,5", -1, -1}, {"1.234,5", -1, -1},
        {"1,2,3", -1, -1},    {"inf", -1, -1},         {"NaN", -1, -1},     {"-", -1, -1},
        {"0x10", -1, -1},     {"12a", -1, -1},         {"1e", -1, -1},      {"\t5", -1, -1},
        {"1e309", -1, -1},    {"1e308", 1e308, 1e308}, {"1e-400", 0, 0}};
    for (const ParseCase& c : cases) {
        EXPECT_DOUBLE_EQ(comma.fallback(QString::fromUtf8(c.text)), c.onComma) << c.text;
        EXPECT_DOUBLE_EQ(point.fallback(QString::fromUtf8(c.text)), c.onPoint) << c.text;
    }
    EXPECT_DOUBLE_EQ(comma.fallback(QString(100000, u'9')), -1);
    EXPECT_DOUBLE_EQ(comma.fallback("0," + QString(5000, u'0') + "1"), 0.0);
}

TEST(Numbers, StrictConversionFailsNamingTheText) {
    EXPECT_DOUBLE_EQ(comma.strict("-1"), -1); // a number, not the invalid marker
    EXPECT_THROW(comma.strict(""), ConversionError);
}

TEST(Numbers, FormattingIsShortestWithTheLocaleSeparator) {
    // clang-format off
    const std::pair<double, const char*> cases[] = {
        {600, "600"}, {0.5, "0,5"}, {63.5, "63,5"}, {15000, "15000"}, {1234.5, "1234,5"},
        {-2.5, "-2,5"}, {0, "0"}, {0.1 + 0.2, "0,3"}, {0.0001, "0,0001"}, {0.012, "0,012"},
        {123456789012345.0, "123456789012345"}, {1e20, "1E20"}, {1.5e-7, "1,5E-7"}};
    // clang-format on
    for (const auto& [value, text] : cases)
        EXPECT_EQ(comma.format(value), QString::fromUtf8(text)) << value;
    EXPECT_EQ(point.format(0.5), QStringLiteral("0.5"));
    for (double v = -70; v <= 70; v += 0.5)
        EXPECT_DOUBLE_EQ(comma.strict(comma.format(v)), v) << v;
}

TEST(Numbers, ExactDifferencesOfTwoTexts) {
    // clang-format off
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"12,3", "12,1", "0,2"}, {"12", "12,5", "-0,5"}, {"1E3", "0,001", "999,999"},
        {"5", "05", "0"}, {"-1,5", "2", "-3,5"}, {"0", "-7,25", "7,25"},
        {"0,1", "1E-3", "0,099"}, {"0,1", "1E-70", ""}}; // "": too far apart to be exact
    // clang-format on
    for (const auto& [a, b, difference] : cases) {
        const auto d = exactDifference(*parseDecimal(QString::fromUtf8(a), u','),
                                       *parseDecimal(QString::fromUtf8(b), u','));
        EXPECT_EQ(d ? comma.format(*toDouble(*d)) : QString(), QString::fromUtf8(difference)) << a;
    }
}

TEST(MapDifferences, StepsThroughTheCellsInReadingOrderThenTheSettingsAndWraps) {
    const MapDifferences differences{{SettingField::LimitRpm, SettingField::OutputPolarity},
                                     {{3, 2}, {0, 7}, {1, 7}}};
    using Place = DifferencePlace;
    const Place limit{std::nullopt, SettingField::LimitRpm};
    const Place output{std::nullopt, SettingField::OutputPolarity};
    const std::tuple<std::optional<Place>, bool, Place> cases[] = {
        {std::nullopt, true, {CellPos{3, 2}, {}}},
        {std::nullopt, false, output},
        {Place{CellPos{3, 2}, {}}, true, {CellPos{0, 7}, {}}},
        {Place{CellPos{2, 5}, {}}, true, {CellPos{0, 7}, {}}}, // from where no difference is
        {Place{CellPos{1, 7}, {}}, true, limit},
        {output, true, {CellPos{3, 2}, {}}},
        {Place{CellPos{3, 2}, {}}, false, output},
        {limit, false, {CellPos{1, 7}, {}}}};
    for (const auto& [from, forward, to] : cases)
        EXPECT_EQ(differences.step(from, forward), to);
    EXPECT_EQ(MapDifferences().step(std::nullopt, true), std::nullopt);
}

TEST(Numbers, TheSystemLocaleGivesTheSeparator) {
    // The test runs under a Hungarian locale (see CMakeLists.txt).
    EXPECT_EQ(NumberFormat::fromSystemLocale().decimalSeparator(), QChar(u','));
}

struct FieldCase {
    char field;          // which field is left: '1' limiting rpm, '2' opening, '3' closing
    const char* text;    // Edit1, or Edit2
    const char* closing; // Edit3
    int ceiling;
    const char* message; // nullptr: none
    const char* replacement;
    const char* closingReplacement;
};

TEST(SettingsFields, LeavingAFieldReportsAndReplacesBadValues) {
    const char* rpm15 = "       Hibás érték!\nA fordulatszám 600 - 15000 közé eshet!";
    const char* rpm12 = "       Hibás érték!\nA fordulatszám 600 - 12000 közé eshet!";
    const char* opening = "       Hibás érték!\nA nyitási idő 0,2 - 2,0 közé eshet!\n"
                          "Vagy a '*' karakter megengedett!";
    const char* angle = "       Hibás érték!\nA zárási szög 50 - 510 közé eshet!";
    const char* time = "       Hibás érték!\nA zárási idő 0,5 - 10 közé eshet!";
    // clang-format off
    const FieldCase cases[] = {
        {'1', "", "", 15000, rpm15, "3500", nullptr},      {'1', "600", "", 15000, nullptr, nullptr, nullptr},
        {'1', "15000", "", 15000, nullptr, nullptr, nullptr}, {'1', "15001", "", 15000, rpm15, "3500", nullptr},
        {'1', "15000", "", 12000, rpm12, "3500", nullptr}, {'1', "12000", "", 12000, nullptr, nullptr, nullptr},
        {'1', "3500.5", "", 15000, rpm15, "3500", nullptr},
        {'1', "15000,0004", "", 15000, nullptr, nullptr, nullptr}, // single precision
        {'2', "*", "3", 0, nullptr, nullptr, "50"},        {'2', "*", "600", 0, nullptr, nullptr, nullptr},
        {'2', "1,5", "180", 0, nullptr, nullptr, "0,5"},   {'2', "5", "3", 0, opening, "2", nullptr},
        {'2', "5", "20", 0, opening, "2", "0,5"},          {'2', " *", "60", 0, opening, "2", "0,5"},
        {'2', "0,2", "0,5", 0, nullptr, nullptr, nullptr}, {'2', "2", "10", 0, nullptr, nullptr, nullptr},
        {'2', "0,19", "1", 0, opening, "2", nullptr},      {'2', "0.5", "1", 0, opening, "2", nullptr},
        {'3', "*", "600", 0, angle, "50", nullptr},        {'3', "*", "510", 0, nullptr, nullptr, nullptr},
        {'3', "*", "49", 0, angle, "50", nullptr},         {'3', "1", "11", 0, time, "10", nullptr},
        {'3', "1", "0,5", 0, nullptr, nullptr, nullptr},   {'3', "1", "0.5", 0, time, "10", nullptr},
        {'3', " *", "180", 0, time, "10", nullptr},
    };
    // clang-format on
    auto optional = [](const char* text) {
        return text ? std::optional<QString>(QString::fromUtf8(text)) : std::nullopt;
    };
    for (const FieldCase& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const QString closing = QString::fromUtf8(c.closing);
        const settingsrules::FieldVerdict v =
            c.field == '1'   ? settingsrules::leaveLimitRpm(text, c.ceiling, comma)
            : c.field == '2' ? settingsrules::leaveOpening(text, closing, comma)
                             : settingsrules::leaveClosing(text, closing, comma);
        SCOPED_TRACE(std::string("Edit") + c.field + " '" + c.text + "' / '" + c.closing + "'");
        EXPECT_EQ(v.message, optional(c.message));
        EXPECT_EQ(v.replacement, optional(c.replacement));
        EXPECT_EQ(v.closingReplacement, optional(c.closingReplacement));
    }
}

// A zerwa4_60 table whose column 2 holds the given texts from row 1 down.
MapTable tableWithColumn(const QStringList& texts) {
    MapTable table = test::SampleMap(profiles::zerwa4_60()).table;
    for (int i = 0; i < texts.size(); ++i)
        table.setCell(2, i + 1, texts.at(i));
    return table;
}

QStringList column(const MapTable& table, int from, int to) {
    QStringList texts;
    for (int r = from; r <= to; ++r)
        texts << table.cell(2, r);
    return texts;
}

// The steps and bounds of the ten popup steps are tested through the window's menu.
TEST(ColumnEdits, ABulkStepStopsAtACellThatIsNotANumber) {
    MapTable table = tableWithColumn({"1", "2", "abc", "4"});
    EXPECT_THROW(columnedits::bulkStep(table, 2, {1}, comma), ConversionError);
    EXPECT_EQ(column(table, 1, 4), QStringList({"2", "3", "abc", "4"}));
}

struct FillCase {
    const char* start;
    int startRow;
    const char* slope;
    const char* steps;
    int from;             // the first row of `expected`
    QStringList expected; // the column from there on after the fill
};

TEST(ColumnEdits, SlopeFillWritesAClampedRunBelowTheStartCell) {
    const FillCase cases[] = {
        {"20", 10, "1,5", "4", 10, {"20", "21,5", "23", "24,5", "26", "2"}},
        {"8", 1, "-5", "3", 1, {"8", "3", "0,5", "0,5", "2"}},
        {"70", 1, "-1", "3", 2, {"63,5", "62,5", "61,5"}},
        {"2", 58, "1", "10", 58, {"2", "3", "4"}},
        {"5", 60, "1", "10", 59, {"2", "5"}},
        {"1", 1, "0,5", "100", 59, {"30", "30,5"}},
        {"60", 1, "8,9", "2", 1, {"60", "63,5", "63,5", "2"}},
    };
    for (const FillCase& c : cases) {
        MapTable table = tableWithColumn({});
        table.setCell(2, c.startRow, c.start);
        columnedits::slopeFill(table, 2, c.startRow,
                               columnedits::readSlopeFill(c.slope, c.steps, comma), comma);
        EXPECT_EQ(column(table, c.from, c.from + int(c.expected.size()) - 1), c.expected)
            << c.start << " " << c.slope;
    }
    MapTable bad = tableWithColumn({"x"});
    const MapTable before = bad;
    EXPECT_THROW(columnedits::slopeFill(bad, 2, 1, {1, 5}, comma), ConversionError);
    EXPECT_EQ(bad, before);
}

TEST(ColumnEdits, SlopeFillDialogAcceptsWholeStepsAndSlopesWithinEight) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"8,9", "1", true},   {"-8,9", "1", true},      {"9", "1", false},     {"-9", "1", false},
        {"0", "100", true},   {"", "3", false},         {"abc", "3", false},   {"1,5", "0", false},
        {"1,5", "-2", false}, {"1,5", "", false},       {"1,5", "2,5", false}, {"1.5", "4", false},
        {"1", " 4 ", true},   {"1", "2147483647", true}};
    for (const auto& [slope, steps, accepted] : cases)
        EXPECT_EQ(columnedits::acceptsSlopeFill(slope, steps, comma), accepted)
            << slope << " / " << steps;
    EXPECT_EQ(columnedits::slopeFillRefusal(),
              QStringLiteral("Hibás értéket adott meg, az emelkedés -8 -tól +8-ig, \n"
                             " a lépés 1 - 60 -ig elfogadott."));
    // A step count that is not a whole number reads as 0: nothing is filled.
    EXPECT_EQ(columnedits::readSlopeFill("1", "x", comma).steps, 0);
    EXPECT_EQ(columnedits::readSlopeFill("-2,5", "7", comma).slope, -2.5);
}

} // namespace
