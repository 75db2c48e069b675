#include "link/downloadcheck.h"
#include "model/variantprofiles.h"
#include "samplemaps.h"
#include "storage/mapfile.h"
#include "storage/windows1250.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace zerwa;
using test::SampleMap;
using test::validSampleMap;

namespace {

const NumberFormat comma(u',');

enum class Field {
    FirstRpm,
    LastRpm,
    FirstCell,
    LastCell,
    LimitRpm,
    Opening,
    ClosingMs,
    ClosingAngle,
    Cylinders,
    InputPolarity,
    OutputPolarity,
};

const char* name(Field field) {
    switch (field) {
    case Field::FirstRpm:
        return "first rpm";
    case Field::LastRpm:
        return "last rpm";
    case Field::FirstCell:
        return "first cell";
    case Field::LastCell:
        return "last cell";
    case Field::LimitRpm:
        return "limiting rpm";
    case Field::Opening:
        return "opening";
    case Field::ClosingMs:
        return "closing ms";
    case Field::ClosingAngle:
        return "closing angle";
    case Field::Cylinders:
        return "cylinders";
    case Field::InputPolarity:
        return "input polarity";
    case Field::OutputPolarity:
        return "output polarity";
    }
    return "";
}

void set(SampleMap& map, const VariantProfile& p, Field field, const QString& text) {
    switch (field) {
    case Field::FirstRpm:
        map.table.setCell(0, 1, text);
        break;
    case Field::LastRpm:
        map.table.setCell(0, p.rpmRows, text);
        break;
    case Field::FirstCell:
        map.table.setCell(1, 1, text);
        break;
    case Field::LastCell:
        map.table.setCell(p.mapColumns, p.rpmRows, text);
        break;
    case Field::LimitRpm:
        map.settings.limitRpm = text;
        break;
    case Field::Opening:
        map.settings.opening = text;
        break;
    case Field::ClosingMs:
        map.settings.closing = text;
        break;
    case Field::ClosingAngle:
        map.settings.opening = QStringLiteral("*");
        map.settings.closing = text;
        break;
    case Field::Cylinders:
        map.settings.cylinders = text;
        break;
    case Field::InputPolarity:
        map.settings.inputPolarity = text;
        break;
    case Field::OutputPolarity:
        map.settings.outputPolarity = text;
        break;
    }
}

// One value in one field; the rest of the map is valid. Results per program.
struct CheckCase {
    Field field;
    const char* text;
    bool zerwa8;
    bool zerwa4;
    bool zerwa4_60;
};

void PrintTo(const CheckCase& c, std::ostream* out) {
    *out << name(c.field) << " '" << c.text << "'";
}

class SingleValue : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SingleValue, PassesOnlyInsideItsRange) {
    const CheckCase& c = GetParam();
    const bool expected[] = {c.zerwa8, c.zerwa4, c.zerwa4_60};
    const auto all = profiles::all();
    for (int i = 0; i < all.size(); ++i) {
        const VariantProfile& p = *all.at(i);
        SampleMap map = validSampleMap(p);
        ASSERT_TRUE(ValidateForDownload(p, map.table, map.settings, comma));
        set(map, p, c.field, QString::fromUtf8(c.text));
        EXPECT_EQ(ValidateForDownload(p, map.table, map.settings, comma), expected[i])
            << p.programName.toStdString();
    }
}

constexpr bool Y = true;
constexpr bool N = false;

INSTANTIATE_TEST_SUITE_P(
    Ranges, SingleValue,
    ::testing::Values(
        // Rpm cells: 600 .. ceiling, both ends included, whatever the row.
        CheckCase{Field::FirstRpm, "599", N, N, N}, CheckCase{Field::FirstRpm, "600", Y, Y, Y},
        CheckCase{Field::LastRpm, "599,99", N, N, N}, CheckCase{Field::LastRpm, "600", Y, Y, Y},
        CheckCase{Field::LastRpm, "12000", Y, Y, Y}, CheckCase{Field::LastRpm, "12001", Y, Y, N},
        CheckCase{Field::LastRpm, "15000", Y, Y, N}, CheckCase{Field::FirstRpm, "15000", Y, Y, N},
        CheckCase{Field::LastRpm, "15001", N, N, N},
        CheckCase{Field::LastRpm, "15000,0004", Y, Y, N}, // rounds to 15000 in single precision
        CheckCase{Field::LastRpm, "12000,0004", Y, Y, Y},
        CheckCase{Field::LastRpm, "15000,001", N, N, N}, CheckCase{Field::FirstRpm, "", N, N, N},
        CheckCase{Field::FirstRpm, "sok", N, N, N}, CheckCase{Field::FirstRpm, "600.0", N, N, N},
        // Data cells: 0.5 .. 63.5.
        CheckCase{Field::FirstCell, "0,4", N, N, N}, CheckCase{Field::FirstCell, "0,5", Y, Y, Y},
        CheckCase{Field::LastCell, "0,5", Y, Y, Y}, CheckCase{Field::LastCell, "63,5", Y, Y, Y},
        CheckCase{Field::LastCell, "63,6", N, N, N}, CheckCase{Field::FirstCell, "63,5", Y, Y, Y},
        CheckCase{Field::FirstCell, "63,500001", Y, Y, Y},
        CheckCase{Field::FirstCell, "0,49999999", Y, Y, Y},
        CheckCase{Field::FirstCell, "0,4999", N, N, N}, CheckCase{Field::FirstCell, "", N, N, N},
        CheckCase{Field::LastCell, "abc", N, N, N}, CheckCase{Field::LastCell, "-1", N, N, N},
        CheckCase{Field::LastCell, "2.5", N, N, N}, CheckCase{Field::LastCell, "1e400", N, N, N},
        CheckCase{Field::LastCell, "6,35e1", Y, Y, Y},
        // Limiting rpm.
        CheckCase{Field::LimitRpm, "599", N, N, N}, CheckCase{Field::LimitRpm, "600", Y, Y, Y},
        CheckCase{Field::LimitRpm, "12000", Y, Y, Y}, CheckCase{Field::LimitRpm, "12001", Y, Y, N},
        CheckCase{Field::LimitRpm, "15000", Y, Y, N}, CheckCase{Field::LimitRpm, "15001", N, N, N},
        CheckCase{Field::LimitRpm, "", N, N, N},
        // Opening: 0.2 .. 2 ms, or exactly "*".
        CheckCase{Field::Opening, "0,19", N, N, N}, CheckCase{Field::Opening, "0,2", Y, Y, Y},
        CheckCase{Field::Opening, "2", Y, Y, Y}, CheckCase{Field::Opening, "2,01", N, N, N},
        CheckCase{Field::Opening, "", N, N, N}, CheckCase{Field::Opening, " *", N, N, N},
        CheckCase{Field::Opening, "* ", N, N, N}, CheckCase{Field::Opening, "**", N, N, N},
        // "*" makes the closing (3 in the sample) an angle: 3 degrees is out of range.
        CheckCase{Field::Opening, "*", N, N, N},
        // Closing in milliseconds: 0.5 .. 10.
        CheckCase{Field::ClosingMs, "0,49", N, N, N}, CheckCase{Field::ClosingMs, "0,5", Y, Y, Y},
        CheckCase{Field::ClosingMs, "10", Y, Y, Y}, CheckCase{Field::ClosingMs, "10,01", N, N, N},
        CheckCase{Field::ClosingMs, "50", N, N, N}, CheckCase{Field::ClosingMs, "", N, N, N},
        // Closing angle in control mode: 50 .. 510.
        CheckCase{Field::ClosingAngle, "10", N, N, N},
        CheckCase{Field::ClosingAngle, "49", N, N, N},
        CheckCase{Field::ClosingAngle, "50", Y, Y, Y},
        CheckCase{Field::ClosingAngle, "510", Y, Y, Y},
        CheckCase{Field::ClosingAngle, "511", N, N, N}, CheckCase{Field::ClosingAngle, "", N, N, N},
        // The lists only have to have a selection.
        CheckCase{Field::Cylinders, "", N, N, N}, CheckCase{Field::Cylinders, "8", Y, Y, Y},
        CheckCase{Field::InputPolarity, "", N, N, N},
        CheckCase{Field::InputPolarity, "Lefutó", Y, Y, Y},
        CheckCase{Field::OutputPolarity, "", N, N, N},
        CheckCase{Field::OutputPolarity, "Felfutó", Y, Y, Y}));

TEST(DownloadCheckTest, EveryRangeEndAtOncePasses) {
    for (const VariantProfile* p : profiles::all()) {
        for (const char* end : {"0,5", "63,5"}) {
            SampleMap map = validSampleMap(*p);
            test::fillDataCells(map.table, QString::fromUtf8(end));
            for (int row = 1; row <= p->rpmRows; ++row)
                map.table.setCell(0, row, row % 2 ? "600" : QString::number(p->rpmCeiling));
            map.settings.limitRpm = QString::number(p->rpmCeiling);
            for (const auto& [opening, closing] :
                 {std::pair{"0,2", "0,5"}, {"2", "10"}, {"*", "50"}, {"*", "510"}}) {
                map.settings.opening = QString::fromUtf8(opening);
                map.settings.closing = QString::fromUtf8(closing);
                EXPECT_TRUE(ValidateForDownload(*p, map.table, map.settings, comma))
                    << p->programName.toStdString() << " " << opening << " " << closing;
            }
        }
    }
}

TEST(DownloadCheckTest, ControlModeMarkerSwitchesTheClosingRange) {
    const VariantProfile& p = profiles::zerwa4();
    SampleMap map = validSampleMap(p);
    auto check = [&](const char* opening, const char* closing) {
        map.settings.opening = QString::fromUtf8(opening);
        map.settings.closing = QString::fromUtf8(closing);
        return ValidateForDownload(p, map.table, map.settings, comma);
    };
    EXPECT_FALSE(check("*", "10"));
    EXPECT_TRUE(check("*", "50"));
    EXPECT_FALSE(check("1", "50"));
    EXPECT_FALSE(check(" *", "50"));
    EXPECT_TRUE(check("1", "10"));
}

TEST(DownloadCheckTest, RpmOrderAndHeadingsDoNotMatter) {
    for (const VariantProfile* p : profiles::all()) {
        SampleMap map = validSampleMap(*p);
        for (int row = 1; row <= p->rpmRows; ++row)
            map.table.setCell(0, row, QString::number(p->rpmCeiling - 100 * row));
        for (int column = 0; column <= p->mapColumns; ++column)
            map.table.setCell(column, 0, QStringLiteral("fejléc"));
        EXPECT_TRUE(ValidateForDownload(*p, map.table, map.settings, comma));
    }
}

TEST(DownloadCheckTest, ReadsWithTheLocaleSeparator) {
    const VariantProfile& p = profiles::zerwa8();
    SampleMap map = validSampleMap(p);
    EXPECT_FALSE(ValidateForDownload(p, map.table, map.settings, NumberFormat(u'.'))); // "1,5"
    map.settings.opening = QStringLiteral("1.5");
    EXPECT_TRUE(ValidateForDownload(p, map.table, map.settings, NumberFormat(u'.')));
    EXPECT_FALSE(ValidateForDownload(p, map.table, map.settings, comma));
}

// Which value the check names: the first refused in its order.
TEST(DownloadCheckTest, NamesTheFirstValueRefused) {
    using F = DownloadFault::Field;
    struct Case {
        std::vector<std::pair<Field, const char*>> bad;
        F field;
        bool lastCell; // the cell is the last rpm row's (and its last column's)
        CellPos cell;
    };
    const std::vector<Case> cases = {
        {{{Field::FirstRpm, "599"}}, F::RpmCell, false, {0, 1}},
        {{{Field::LastRpm, ""}, {Field::FirstCell, "0"}}, F::RpmCell, true, {0, 0}},
        {{{Field::LastCell, "x"}, {Field::LimitRpm, "1"}}, F::DataCell, true, {0, 0}},
        {{{Field::FirstCell, "64"}, {Field::LastCell, "0"}}, F::DataCell, false, {1, 1}},
        {{{Field::LimitRpm, "599"}, {Field::Opening, "3"}}, F::LimitRpm, false, {}},
        {{{Field::Opening, "3"}, {Field::Cylinders, ""}}, F::Opening, false, {}},
        {{{Field::ClosingMs, "11"}, {Field::InputPolarity, ""}}, F::Closing, false, {}},
        {{{Field::ClosingAngle, "49"}}, F::Closing, false, {}},
        {{{Field::Cylinders, ""}, {Field::OutputPolarity, ""}}, F::Cylinders, false, {}},
        {{{Field::InputPolarity, ""}, {Field::OutputPolarity, ""}}, F::InputPolarity, false, {}},
        {{{Field::OutputPolarity, ""}}, F::OutputPolarity, false, {}},
    };
    for (const VariantProfile* p : profiles::all()) {
        for (const Case& c : cases) {
            SampleMap map = validSampleMap(*p);
            for (const auto& [field, text] : c.bad)
                set(map, *p, field, QString::fromUtf8(text));
            CellPos cell = c.cell;
            if (c.lastCell)
                cell = {c.field == F::RpmCell ? 0 : p->mapColumns, p->rpmRows};
            const auto fault = FindDownloadFault(*p, map.table, map.settings, comma);
            ASSERT_TRUE(fault) << name(c.bad.front().first);
            EXPECT_EQ(*fault, (DownloadFault{c.field, cell}))
                << p->programName.toStdString() << " " << name(c.bad.front().first);
        }
        const SampleMap valid = validSampleMap(*p);
        EXPECT_FALSE(FindDownloadFault(*p, valid.table, valid.settings, comma));
    }
}

// A map file's drop-down values are read as the lists would show them, so a cylinder count
// the program does not offer, or a polarity in another encoding, never reaches the device.
TEST(DownloadCheckTest, RefusesAMapFileWithAValueItsListsDoNotHold) {
    using F = DownloadFault::Field;
    const QString utf8Rising = windows1250::decode("Felfut\xC3\xB3"); // "ó" stored in UTF-8
    struct Case {
        const VariantProfile* profile;
        Field field;
        QString text;
        F refused;
    };
    const std::vector<Case> cases = {
        {&profiles::zerwa8(), Field::Cylinders, "7", F::Cylinders},
        {&profiles::zerwa4(), Field::Cylinders, "7", F::Cylinders},
        {&profiles::zerwa4_60(), Field::Cylinders, "1", F::Cylinders},
        {&profiles::zerwa4(), Field::InputPolarity, utf8Rising, F::InputPolarity},
        {&profiles::zerwa4_60(), Field::OutputPolarity, utf8Rising, F::OutputPolarity},
    };
    for (const Case& c : cases) {
        SampleMap map = validSampleMap(*c.profile);
        set(map, *c.profile, c.field, c.text);
        const auto bytes = mapfile::encode(*c.profile, {map.settings, map.table});
        ASSERT_TRUE(bytes);
        const auto read = mapfile::decode(*c.profile, *bytes);
        ASSERT_TRUE(read);
        EXPECT_FALSE(ValidateForDownload(*c.profile, read->table, read->settings, comma));
        const auto fault = FindDownloadFault(*c.profile, read->table, read->settings, comma);
        ASSERT_TRUE(fault);
        EXPECT_EQ(fault->field, c.refused) << c.text.toStdString();
    }
}

TEST(DownloadCheckTest, ATableOfAnotherShapeFails) {
    const SampleMap map = validSampleMap(profiles::zerwa4());
    EXPECT_FALSE(ValidateForDownload(profiles::zerwa4_60(), map.table, map.settings, comma));
}

} // namespace
