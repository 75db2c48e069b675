#include "link/downloadcheck.h"
#include "link/downloadframe.h"
#include "model/variantprofiles.h"
#include "samplemaps.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

using namespace zerwa;
using test::fillDataCells;
using test::validSampleMap;

namespace {

const NumberFormat comma(u',');

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int v : values)
        result += char(v);
    return result;
}

QByteArray encode(const VariantProfile& profile, const MapTable& table,
                  const SettingsBlock& settings) {
    return EncodeDownloadFrame(profile, table, settings, comma);
}

TEST(DownloadFrameTest, WorkedExampleOfZerwa4) {
    const VariantProfile& p = profiles::zerwa4();
    auto map = validSampleMap(p);
    fillDataCells(map.table, QStringLiteral("10"));

    QByteArray expected = bytes({0x83, 0x07, 0x35});
    expected += QByteArray(60, char(0x14));
    expected += bytes({0x0C, 0x3A, 0x0C});
    expected += QByteArray(60, char(0x14));
    expected += bytes({0x4F});
    const QByteArray frame = encode(p, map.table, map.settings);
    ASSERT_EQ(frame.size(), 127);
    EXPECT_EQ(frame, expected);

    const QByteArray wire = downloadframe::wireImage(frame);
    ASSERT_EQ(wire.size(), 381);
    EXPECT_EQ(wire.left(12),
              bytes({0x83, 0xFF, 0xFF, 0x07, 0xFF, 0xFF, 0x35, 0xFF, 0xFF, 0x14, 0xFF, 0xFF}));
    EXPECT_EQ(wire.right(3), bytes({0x4F, 0xFF, 0xFF}));
    for (int i = 0; i < wire.size(); ++i)
        ASSERT_EQ(wire.at(i), i % 3 == 0 ? frame.at(i / 3) : char(0xFF)) << i;
}

TEST(DownloadFrameTest, UnitsAreRawBytesZeroIncluded) {
    EXPECT_EQ(downloadframe::unit('\0'), bytes({0x00, 0xFF, 0xFF}));
    EXPECT_EQ(downloadframe::wireImage(bytes({0x00, 0x0A, 0xFF})),
              bytes({0x00, 0xFF, 0xFF, 0x0A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

struct SettingsCase {
    const char* opening;
    const char* closing;
    const char* limitRpm;
    const char* input;
    const char* output;
    int index;
    int expected;
};

void PrintTo(const SettingsCase& c, std::ostream* out) {
    *out << "opening '" << c.opening << "' closing '" << c.closing << "' rpm '" << c.limitRpm
         << "' " << c.input << "/" << c.output << " -> [" << c.index << "] = " << c.expected;
}

class SettingsBytes : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsBytes, EncodeAtTheirIndex) {
    const SettingsCase& c = GetParam();
    for (const VariantProfile* p : profiles::all()) {
        auto map = validSampleMap(*p);
        map.settings.opening = QString::fromUtf8(c.opening);
        map.settings.closing = QString::fromUtf8(c.closing);
        map.settings.limitRpm = QString::fromUtf8(c.limitRpm);
        map.settings.inputPolarity = QString::fromUtf8(c.input);
        map.settings.outputPolarity = QString::fromUtf8(c.output);
        const QByteArray frame = encode(*p, map.table, map.settings);
        EXPECT_EQ(quint8(frame.at(c.index)), c.expected) << p->programName.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, SettingsBytes,
    ::testing::Values(
        // Mode byte from the two polarities.
        SettingsCase{"1", "3", "3500", "Lefutó", "Lefutó", 0, 0x03},
        SettingsCase{"1", "3", "3500", "Lefutó", "Felfutó", 0, 0x43},
        SettingsCase{"1", "3", "3500", "Felfutó", "Lefutó", 0, 0x83},
        SettingsCase{"1", "3", "3500", "Felfutó", "Felfutó", 0, 0xC3},
        SettingsCase{"1", "3", "3500", "", "felfutó", 0, 0x03},
        // Control mode: angle in 2-degree steps, opening byte zero.
        SettingsCase{"*", "510", "3500", "Lefutó", "Lefutó", 1, 0xFF},
        SettingsCase{"*", "510", "3500", "Lefutó", "Lefutó", 64, 0x00},
        SettingsCase{"*", "51", "3500", "Lefutó", "Lefutó", 1, 25},
        SettingsCase{"*", "50", "3500", "Lefutó", "Lefutó", 1, 25},
        // Milliseconds.
        SettingsCase{"2", "3", "3500", "Lefutó", "Lefutó", 64, 0x4E},
        SettingsCase{"0,2", "3", "3500", "Lefutó", "Lefutó", 64, 0x07},
        SettingsCase{"0,3072", "3", "3500", "Lefutó", "Lefutó", 64, 12},
        SettingsCase{"0,6144", "3", "3500", "Lefutó", "Lefutó", 64, 24},
        SettingsCase{"1", "10", "3500", "Lefutó", "Lefutó", 1, 0x18},
        SettingsCase{"1", "0,5", "3500", "Lefutó", "Lefutó", 1, 0x01},
        SettingsCase{"1", "1,2288", "3500", "Lefutó", "Lefutó", 1, 3},
        SettingsCase{"1", "9,8304", "3500", "Lefutó", "Lefutó", 1, 24},
        // Limit period, low byte at 2 and high byte at 65.
        SettingsCase{"1", "3", "12000", "Lefutó", "Lefutó", 2, 0x35},
        SettingsCase{"1", "3", "12000", "Lefutó", "Lefutó", 65, 0x0C},
        SettingsCase{"1", "3", "1000", "Lefutó", "Lefutó", 2, 0x7C}, // 37500 = 0x927C
        SettingsCase{"1", "3", "1000", "Lefutó", "Lefutó", 65, 0x92},
        SettingsCase{"1", "3", "600", "Lefutó", "Lefutó", 2, 0x24}, // 62500 = 0xF424
        SettingsCase{"1", "3", "600", "Lefutó", "Lefutó", 65, 0xF4},
        SettingsCase{"1", "3", "1,2e4", "Lefutó", "Lefutó", 2, 0x35},
        // The constant byte.
        SettingsCase{"1", "3", "3500", "Lefutó", "Lefutó", 63, 0x0C}));

TEST(DownloadFrameTest, LimitPeriodAtFifteenThousandIsExact) {
    for (const VariantProfile* p : {&profiles::zerwa8(), &profiles::zerwa4()}) {
        auto map = validSampleMap(*p);
        map.settings.limitRpm = QStringLiteral("15000");
        const QByteArray frame = encode(*p, map.table, map.settings);
        EXPECT_EQ(quint8(frame.at(2)), 0xC4); // 2500 = 0x09C4
        EXPECT_EQ(quint8(frame.at(65)), 0x09);
    }
}

struct CellCase {
    const char* text;
    int expected;
};

class CellByte : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellByte, IsTheValueInHalfUnits) {
    const VariantProfile& p = profiles::zerwa4();
    auto map = validSampleMap(p);
    map.table.setCell(4, 30, QString::fromUtf8(GetParam().text)); // index 3
    EXPECT_EQ(quint8(encode(p, map.table, map.settings).at(3)), GetParam().expected)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Values, CellByte,
                         ::testing::Values(CellCase{"12,3", 0x18}, CellCase{"63,5", 0x7F},
                                           CellCase{"0,5", 0x01}, CellCase{"10", 0x14},
                                           CellCase{"0,99", 0x01}, CellCase{"1", 0x02},
                                           CellCase{" 7,25 ", 0x0E}, CellCase{"1,5e1", 0x1E}));

TEST(DownloadFrameTest, CylinderByteIsTheLastOne) {
    const std::pair<const char*, int> cases[] = {{"1", 0x1F}, {"2", 0x2F}, {"3", 0x3F}, {"4", 0x4F},
                                                 {"5", 0x5F}, {"6", 0x6F}, {"8", 0x8F}};
    for (const VariantProfile* p : profiles::all()) {
        auto map = validSampleMap(*p);
        for (const auto& [text, expected] : cases) {
            map.settings.cylinders = QString::fromUtf8(text);
            const QByteArray frame = encode(*p, map.table, map.settings);
            ASSERT_EQ(frame.size(), p->frameLength);
            EXPECT_EQ(quint8(frame.back()), expected) << text;
        }
    }
}

// Frame index of each data cell as the device expects it: the cells of rows R0 down to 1,
// each row from the last column down, fill indices 3..62 then 66..125; rows below R0
// (zerwa4_60) fill 126..245 the same way from the last row up.
int documentedIndex(int lastBlockRow, int rows, int columns, int column, int row) {
    if (row > lastBlockRow)
        return 126 + (rows - row) * columns + (columns - column);
    const int k = (lastBlockRow - row) * columns + (columns - column);
    return k <= 59 ? 3 + k : 6 + k;
}

struct LayoutCase {
    const VariantProfile* profile;
    int lastBlockRow;
};

class CellLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(CellLayout, EveryCellLandsAtItsIndex) {
    const VariantProfile& p = *GetParam().profile;
    auto map = validSampleMap(p);
    fillDataCells(map.table, QStringLiteral("10"));
    const QByteArray plain = encode(p, map.table, map.settings);
    QList<int> seen;
    for (int row = 1; row <= p.rpmRows; ++row) {
        for (int column = 1; column <= p.mapColumns; ++column) {
            MapTable marked = map.table;
            marked.setCell(column, row, QStringLiteral("5"));
            const QByteArray frame = encode(p, marked, map.settings);
            const int index =
                documentedIndex(GetParam().lastBlockRow, p.rpmRows, p.mapColumns, column, row);
            QByteArray expected = plain;
            expected[index] = 0x0A;
            ASSERT_EQ(frame, expected) << "row " << row << " column " << column;
            seen << index;
        }
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen.size(), p.frameLength - 7);
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

INSTANTIATE_TEST_SUITE_P(Profiles, CellLayout,
                         ::testing::Values(LayoutCase{&profiles::zerwa8(), 15},
                                           LayoutCase{&profiles::zerwa4(), 30},
                                           LayoutCase{&profiles::zerwa4_60(), 30}),
                         [](const auto& info) {
                             return info.param.profile->programName.toStdString();
                         });

struct PositionCase {
    const VariantProfile* profile;
    int column;
    int row;
    int index;
};

class ListedPositions : public ::testing::TestWithParam<PositionCase> {};

TEST_P(ListedPositions, HoldTheirCell) {
    const PositionCase& c = GetParam();
    auto map = validSampleMap(*c.profile);
    fillDataCells(map.table, QStringLiteral("10"));
    map.table.setCell(c.column, c.row, QStringLiteral("33"));
    const QByteArray frame = encode(*c.profile, map.table, map.settings);
    EXPECT_EQ(frame.indexOf(char(66)), c.index);
    EXPECT_EQ(frame.count(char(66)), 1);
}

INSTANTIATE_TEST_SUITE_P(Profiles, ListedPositions,
                         ::testing::Values(PositionCase{&profiles::zerwa8(), 8, 15, 3},
                                           PositionCase{&profiles::zerwa8(), 5, 8, 62},
                                           PositionCase{&profiles::zerwa8(), 4, 8, 66},
                                           PositionCase{&profiles::zerwa8(), 1, 1, 125},
                                           PositionCase{&profiles::zerwa4(), 4, 30, 3},
                                           PositionCase{&profiles::zerwa4(), 1, 16, 62},
                                           PositionCase{&profiles::zerwa4(), 4, 15, 66},
                                           PositionCase{&profiles::zerwa4(), 1, 1, 125},
                                           PositionCase{&profiles::zerwa4_60(), 4, 60, 126},
                                           PositionCase{&profiles::zerwa4_60(), 1, 31, 245},
                                           PositionCase{&profiles::zerwa4_60(), 4, 30, 3},
                                           PositionCase{&profiles::zerwa4_60(), 1, 1, 125}));

TEST(DownloadFrameTest, RpmColumnAndHeadingsAreNotSent) {
    for (const VariantProfile* p : profiles::all()) {
        auto map = validSampleMap(*p);
        const QByteArray before = encode(*p, map.table, map.settings);
        for (int row = 1; row <= p->rpmRows; ++row)
            map.table.setCell(0, row, QStringLiteral("szöveg"));
        for (int column = 0; column <= p->mapColumns; ++column)
            map.table.setCell(column, 0, QStringLiteral("9.99"));
        EXPECT_EQ(encode(*p, map.table, map.settings), before);
    }
}

TEST(DownloadFrameTest, ReadsWithTheLocaleSeparator) {
    const VariantProfile& p = profiles::zerwa8();
    auto map = validSampleMap(p);
    map.table.setCell(8, 15, QStringLiteral("12.3"));
    map.settings.opening = QStringLiteral("0.3072");
    const QByteArray frame = EncodeDownloadFrame(p, map.table, map.settings, NumberFormat(u'.'));
    EXPECT_EQ(quint8(frame.at(3)), 24);
    EXPECT_EQ(quint8(frame.at(64)), 12);
    EXPECT_THROW(encode(p, map.table, map.settings), ConversionError);
}

TEST(DownloadFrameTest, TextThatIsNotANumberThrows) {
    const VariantProfile& p = profiles::zerwa4_60();
    const auto base = validSampleMap(p);
    auto withCell = base;
    withCell.table.setCell(2, 45, QStringLiteral("abc"));
    EXPECT_THROW(encode(p, withCell.table, withCell.settings), ConversionError);
    auto withOpening = base;
    withOpening.settings.opening = QStringLiteral(" *");
    EXPECT_THROW(encode(p, withOpening.table, withOpening.settings), ConversionError);
    auto withCylinders = base;
    withCylinders.settings.cylinders.clear();
    EXPECT_THROW(encode(p, withCylinders.table, withCylinders.settings), ConversionError);
}

// Texts the check lets through because they round to a range end in single precision are
// sent as that end; exact truncation alone would leave the range.
struct RoundedEndCase {
    const VariantProfile* profile;
    const char* field;
    const char* text;
    int index;
    int expected;
};

void PrintTo(const RoundedEndCase& c, std::ostream* out) {
    *out << c.profile->programName.toStdString() << " " << c.field << " '" << c.text << "'";
}

class RoundedRangeEnds : public ::testing::TestWithParam<RoundedEndCase> {};

TEST_P(RoundedRangeEnds, AreSentAsTheEnd) {
    const RoundedEndCase& c = GetParam();
    auto map = validSampleMap(*c.profile);
    const QString text = QString::fromUtf8(c.text);
    const std::string field = c.field;
    if (field == "cell")
        map.table.setCell(c.profile->mapColumns, c.profile->frameBlockRows, text);
    else if (field == "angle")
        map.settings = {"4", "3500", "*", text, "Lefutó", "Lefutó"};
    else if (field == "closing")
        map.settings.closing = text;
    else if (field == "opening")
        map.settings.opening = text;
    else
        map.settings.limitRpm = text;
    ASSERT_TRUE(ValidateForDownload(*c.profile, map.table, map.settings, comma));
    const QByteArray frame = encode(*c.profile, map.table, map.settings);
    EXPECT_EQ(quint8(frame.at(c.index)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RoundedRangeEnds,
    ::testing::Values(RoundedEndCase{&profiles::zerwa4(), "cell", "0,49999999", 3, 1},
                      RoundedEndCase{&profiles::zerwa8(), "cell", "0,499999999999", 3, 1},
                      RoundedEndCase{&profiles::zerwa4(), "cell", "63,500001", 3, 127},
                      RoundedEndCase{&profiles::zerwa4(), "angle", "49,999999", 1, 25},
                      RoundedEndCase{&profiles::zerwa4(), "angle", "510,00001", 1, 255},
                      RoundedEndCase{&profiles::zerwa4(), "closing", "10,0000001", 1, 24},
                      RoundedEndCase{&profiles::zerwa4(), "opening", "0,1999999999", 64, 7},
                      RoundedEndCase{&profiles::zerwa4(), "rpm", "15000,0004", 2, 0xC4},
                      RoundedEndCase{&profiles::zerwa4(), "rpm", "15000,0004", 65, 0x09},
                      RoundedEndCase{&profiles::zerwa4_60(), "rpm", "12000,0004", 2, 0x35},
                      RoundedEndCase{&profiles::zerwa4_60(), "rpm", "12000,0004", 65, 0x0C},
                      RoundedEndCase{&profiles::zerwa8(), "rpm", "599,99999", 2, 0x24}));

} // namespace
