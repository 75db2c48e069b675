#include "link/downloadcheck.h"
#include "link/downloadframe.h"
#include "link/exactscaling.h"
#include "link/portdevice.h"
#include "support/gtestqt.h"
#include "support/programtable.h"
#include "support/samplemap.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <random>

#include <gtest/gtest.h>

using namespace zerwa;
using test::ProgramFacts;
using test::SampleMap;

namespace {

const NumberFormat comma(u',');

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int v : values)
        result += char(v);
    return result;
}

QByteArray encode(const VariantProfile& profile, const SampleMap& map) {
    return EncodeDownloadFrame(profile, map.table, map.settings, comma);
}

TEST(DownloadFrame, WorkedExampleOfZerwa4) {
    const QByteArray frame = encode(profiles::zerwa4(), SampleMap(profiles::zerwa4()).fill("10"));
    const QByteArray expected = bytes({0x83, 0x07, 0x35}) + QByteArray(60, 0x14) +
                                bytes({0x0C, 0x3A, 0x0C}) + QByteArray(60, 0x14) + bytes({0x4F});
    EXPECT_EQ(frame, expected);
    const QByteArray wire = downloadframe::wireImage(frame);
    ASSERT_EQ(wire.size(), 381);
    EXPECT_EQ(wire.left(12),
              bytes({0x83, 0xFF, 0xFF, 0x07, 0xFF, 0xFF, 0x35, 0xFF, 0xFF, 0x14, 0xFF, 0xFF}));
    EXPECT_EQ(wire.right(3), bytes({0x4F, 0xFF, 0xFF}));
    EXPECT_EQ(downloadframe::wireImage(bytes({0x00, 0x0A})),
              bytes({0x00, 0xFF, 0xFF, 0x0A, 0xFF, 0xFF}));
}

// The settings of each row, and the frame bytes they give (index, byte).
struct SettingsCase {
    SettingsBlock settings;
    QList<std::pair<int, int>> bytes;
};

TEST(DownloadFrame, SettingsBytesInEveryProgram) {
    // clang-format off
    const SettingsCase cases[] = {
        {{"4", "1000", "1", "3", "Lefutó", "Lefutó"}, {{0, 0x03}, {2, 0x7C}, {65, 0x92}, {63, 0x0C}}},
        {{"4", "600", "2", "10", "Lefutó", "Felfutó"}, {{0, 0x43}, {64, 0x4E}, {1, 0x18}, {2, 0x24}, {65, 0xF4}}},
        {{"4", "12000", "0,2", "0,5", "Felfutó", "Lefutó"}, {{0, 0x83}, {64, 0x07}, {1, 0x01}, {2, 0x35}, {65, 0x0C}}},
        {{"4", "15000", "0,3072", "1,2288", "Felfutó", "Felfutó"}, {{0, 0xC3}, {64, 12}, {1, 3}, {2, 0xC4}, {65, 0x09}}},
        {{"4", "3500", "0,6144", "9,8304", "", "felfutó"}, {{0, 0x03}, {64, 24}, {1, 24}}},
        {{"4", "3500", "*", "510", "Lefutó", "Lefutó"}, {{1, 0xFF}, {64, 0x00}}},
        {{"4", "3500", "*", "51", "Lefutó", "Lefutó"}, {{1, 25}}},
    };
    // clang-format on
    for (const ProgramFacts& f : test::programFacts()) {
        for (const SettingsCase& c : cases) {
            if (c.settings.limitRpm.toInt() > f.rpmCeiling)
                continue; // the check would refuse it
            SampleMap map(f.profile());
            map.settings = c.settings;
            const QByteArray frame = encode(f.profile(), map);
            ASSERT_EQ(frame.size(), f.frameLength);
            for (const auto& [index, byte] : c.bytes)
                EXPECT_EQ(quint8(frame.at(index)), byte)
                    << f.name << " " << c.settings.limitRpm.toStdString() << " [" << index << "]";
        }
    }
}

TEST(DownloadFrame, CellAndCylinderBytes) {
    const std::pair<const char*, int> cells[] = {{"12,3", 0x18}, {"63,5", 0x7F}, {"0,5", 0x01},
                                                 {"10", 0x14},   {"0,99", 0x01}, {" 7,25 ", 0x0E},
                                                 {"1,5e1", 0x1E}};
    for (const auto& [text, expected] : cells) {
        SampleMap map(profiles::zerwa4());
        map.table.setCell(4, 30, text);
        EXPECT_EQ(quint8(encode(profiles::zerwa4(), map).at(3)), expected) << text;
    }
    const std::pair<const char*, int> cylinders[] = {
        {"1", 0x1F}, {"2", 0x2F}, {"3", 0x3F}, {"4", 0x4F}, {"5", 0x5F}, {"6", 0x6F}, {"8", 0x8F}};
    for (const ProgramFacts& f : test::programFacts()) {
        for (const auto& [text, expected] : cylinders) {
            SampleMap map(f.profile());
            map.settings.cylinders = text;
            EXPECT_EQ(quint8(encode(f.profile(), map).at(f.frameLength - 1)), expected) << text;
        }
    }
}

TEST(DownloadFrame, EveryCellLandsAtItsIndexAndTheAxesAreNotSent) {
    for (const ProgramFacts& f : test::programFacts()) {
        SampleMap map(f.profile());
        map.fill("10");
        const QByteArray plain = encode(f.profile(), map);
        for (int row = 1; row <= f.rpmRows; ++row) {
            for (int column = 1; column <= f.mapColumns; ++column) {
                SampleMap marked = map;
                marked.table.setCell(column, row, "5");
                QByteArray expected = plain;
                expected[test::frameIndexOf(f.blockRows, f.rpmRows, f.mapColumns, column, row)] =
                    0x0A;
                ASSERT_EQ(encode(f.profile(), marked), expected)
                    << f.name << " row " << row << " column " << column;
            }
        }
        for (int row = 0; row <= f.rpmRows; ++row)
            map.table.setCell(0, row, "szöveg");
        for (int column = 1; column <= f.mapColumns; ++column)
            map.table.setCell(column, 0, "9.99");
        EXPECT_EQ(encode(f.profile(), map), plain) << f.name;
    }
}

TEST(DownloadFrame, ListedPositions) {
    const std::tuple<const VariantProfile*, int, int, int> positions[] = {
        {&profiles::zerwa8(), 8, 15, 3},      {&profiles::zerwa8(), 5, 8, 62},
        {&profiles::zerwa8(), 4, 8, 66},      {&profiles::zerwa8(), 1, 1, 125},
        {&profiles::zerwa4(), 4, 30, 3},      {&profiles::zerwa4(), 1, 16, 62},
        {&profiles::zerwa4(), 4, 15, 66},     {&profiles::zerwa4(), 1, 1, 125},
        {&profiles::zerwa4_60(), 4, 60, 126}, {&profiles::zerwa4_60(), 1, 31, 245},
        {&profiles::zerwa4_60(), 4, 30, 3},   {&profiles::zerwa4_60(), 1, 1, 125}};
    for (const auto& [profile, column, row, index] : positions) {
        SampleMap map(*profile);
        map.fill("10").table.setCell(column, row, "33");
        const QByteArray frame = encode(*profile, map);
        EXPECT_EQ(frame.indexOf(char(66)), index) << column << " " << row;
        EXPECT_EQ(frame.count(char(66)), 1);
    }
}

// A text the check lets through because it rounds to a range end in single precision is
// sent as that end.
TEST(DownloadFrame, RoundedRangeEndsAreSentAsTheEnd) {
    const std::tuple<const char*, const char*, int, int> cases[] = {
        {"cell", "0,49999999", 3, 1},     {"cell", "63,500001", 3, 127},
        {"angle", "49,999999", 1, 25},    {"angle", "510,00001", 1, 255},
        {"closing", "10,0000001", 1, 24}, {"opening", "0,1999999999", 64, 7},
        {"rpm", "15000,0004", 2, 0xC4},   {"rpm", "599,99999", 2, 0x24}};
    const VariantProfile& p = profiles::zerwa4();
    for (const auto& [field, text, index, expected] : cases) {
        SampleMap map(p);
        const std::string name = field;
        if (name == "cell")
            map.table.setCell(4, 30, text);
        else if (name == "angle")
            map.settings = {"4", "3500", "*", text, "Lefutó", "Lefutó"};
        else if (name == "closing")
            map.settings.closing = text;
        else if (name == "opening")
            map.settings.opening = text;
        else
            map.settings.limitRpm = text;
        ASSERT_TRUE(ValidateForDownload(p, map.table, map.settings, comma)) << text;
        EXPECT_EQ(quint8(encode(p, map).at(index)), expected) << text;
    }
}

enum class Field { FirstRpm, LastRpm, FirstCell, LastCell, Limit, Opening, Closing, Angle, Lists };

struct CheckCase {
    Field field;
    const char* text;
    bool at15000; // accepted by zerwa8 and zerwa4
    bool at12000; // accepted by zerwa4_60
};

// Puts the text into one field (the sample's closing of 3 is no angle, so "*" alone fails).
void set(SampleMap& map, const ProgramFacts& f, Field field, const QString& text) {
    SettingsBlock& s = map.settings;
    switch (field) {
    case Field::FirstRpm:
    case Field::LastRpm:
        return map.table.setCell(0, field == Field::FirstRpm ? 1 : f.rpmRows, text);
    case Field::FirstCell:
    case Field::LastCell:
        return field == Field::FirstCell ? map.table.setCell(1, 1, text)
                                         : map.table.setCell(f.mapColumns, f.rpmRows, text);
    case Field::Angle:
        s.opening = "*";
        [[fallthrough]];
    case Field::Closing:
        s.closing = text;
        return;
    case Field::Limit:
        s.limitRpm = text;
        return;
    case Field::Opening:
        s.opening = text;
        return;
    case Field::Lists: // "c", "i" or "o": that list without a selection
        (text == "c" ? s.cylinders : text == "i" ? s.inputPolarity : s.outputPolarity).clear();
    }
}

TEST(DownloadCheck, EachValueMustLieInItsRange) {
    using F = Field;
    // clang-format off
    const CheckCase cases[] = {
        {F::FirstRpm, "599", 0, 0},        {F::FirstRpm, "600", 1, 1},      {F::LastRpm, "599", 0, 0},
        {F::LastRpm, "12000", 1, 1},       {F::LastRpm, "12001", 1, 0},     {F::FirstRpm, "15000", 1, 0},
        {F::LastRpm, "15001", 0, 0},       {F::LastRpm, "15000,0004", 1, 0}, {F::LastRpm, "15000,001", 0, 0},
        {F::FirstRpm, "", 0, 0},           {F::FirstRpm, "600.0", 0, 0},    {F::FirstCell, "0,4", 0, 0},
        {F::FirstCell, "0,5", 1, 1},       {F::LastCell, "63,5", 1, 1},     {F::LastCell, "63,6", 0, 0},
        {F::FirstCell, "63,500001", 1, 1}, {F::FirstCell, "0,4999", 0, 0},  {F::LastCell, "", 0, 0},
        {F::LastCell, "abc", 0, 0},        {F::LastCell, "-1", 0, 0},       {F::LastCell, "2.5", 0, 0},
        {F::Limit, "599", 0, 0},           {F::Limit, "600", 1, 1},         {F::Limit, "12001", 1, 0},
        {F::Limit, "15000", 1, 0},         {F::Limit, "15001", 0, 0},       {F::Limit, "", 0, 0},
        {F::Opening, "0,19", 0, 0},        {F::Opening, "0,2", 1, 1},       {F::Opening, "2", 1, 1},
        {F::Opening, "2,01", 0, 0},        {F::Opening, " *", 0, 0},        {F::Opening, "*", 0, 0},
        {F::Closing, "0,49", 0, 0},        {F::Closing, "0,5", 1, 1},       {F::Closing, "10", 1, 1},
        {F::Closing, "10,01", 0, 0},       {F::Closing, "50", 0, 0},        {F::Angle, "49", 0, 0},
        {F::Angle, "50", 1, 1},            {F::Angle, "510", 1, 1},         {F::Angle, "511", 0, 0},
        {F::Angle, "10", 0, 0},            {F::Lists, "c", 0, 0},           {F::Lists, "i", 0, 0},
        {F::Lists, "o", 0, 0},
    };
    // clang-format on
    for (const ProgramFacts& f : test::programFacts()) {
        for (const CheckCase& c : cases) {
            SampleMap map(f.profile());
            set(map, f, c.field, QString::fromUtf8(c.text));
            EXPECT_EQ(ValidateForDownload(f.profile(), map.table, map.settings, comma),
                      f.rpmCeiling == 15000 ? c.at15000 : c.at12000)
                << f.name << " field " << int(c.field) << " '" << c.text << "'";
        }
    }
}

TEST(DownloadCheck, EveryRangeEndAtOncePassesAndHeadingsDoNotMatter) {
    for (const ProgramFacts& f : test::programFacts()) {
        for (const char* end : {"0,5", "63,5"}) {
            SampleMap map(f.profile());
            map.fill(end);
            for (int row = 1; row <= f.rpmRows; ++row) // descending and ascending alike
                map.table.setCell(0, row, row % 2 ? "600" : QString::number(f.rpmCeiling));
            for (int column = 0; column <= f.mapColumns; ++column)
                map.table.setCell(column, 0, "fejléc");
            map.settings.limitRpm = QString::number(f.rpmCeiling);
            for (const auto& [opening, closing] :
                 {std::pair{"0,2", "0,5"}, {"2", "10"}, {"*", "50"}, {"*", "510"}}) {
                map.settings.opening = opening;
                map.settings.closing = closing;
                EXPECT_TRUE(ValidateForDownload(f.profile(), map.table, map.settings, comma))
                    << f.name << " " << end << " " << opening << " " << closing;
            }
        }
    }
}

DecimalNumber number(const std::string& text) {
    return *parseDecimal(QString::fromStdString(text), u'.');
}

TEST(ExactScaling, ProductsAndQuotientsAreTruncatedExactly) {
    const auto saturated = exact::kSaturated;
    // clang-format off
    const std::tuple<const char*, std::uint32_t, std::uint32_t, std::uint64_t> products[] = {
        {"0.3072", 625, 16, 12}, {"0.6144", 625, 16, 24}, {"1.2288", 625, 256, 3}, {"9.8304", 625, 256, 24},
        {"3072e-4", 625, 16, 12}, {"12.3", 2, 1, 24}, {"0.49999999", 2, 1, 0}, {"51", 1, 2, 25},
        {"0", 625, 16, 0}, {"-0.5", 2, 1, 0}, {"1e12", 1, 1, saturated}, {"999999999999.9", 2, 1, 1999999999999}};
    const std::pair<const char*, std::uint64_t> quotients[] = {
        {"15000", 2500}, {"1000", 37500}, {"600", 62500}, {"12000", 3125}, {"1.5e4", 2500},
        {"15000.0004", 2499}, {"599.99999", 62500}, {"7", 5357142}, {"0.1", 375000000},
        {"37500000", 1}, {"37500000.000001", 0}, {"1e999", 0}, {"0", saturated}, {"-600", saturated},
        {"0.000001", saturated}};
    // clang-format on
    for (const auto& [text, numerator, denominator, expected] : products)
        EXPECT_EQ(exact::scaledFloor(number(text), numerator, denominator), expected) << text;
    for (const auto& [text, expected] : quotients)
        EXPECT_EQ(exact::quotientFloor(37500000, number(text)), expected) << text;
    const std::string nines(20000, '9');
    EXPECT_EQ(exact::scaledFloor(number("0." + nines), 2, 1), 1u);
    EXPECT_EQ(exact::scaledFloor(number("1.2287" + nines), 625, 256), 2u);
    EXPECT_EQ(exact::quotientFloor(37500000, number("600." + std::string(20000, '0') + "1")),
              62499u);
}

TEST(ExactScaling, AgreesWithIntegerArithmeticOnRandomTexts) {
    std::mt19937_64 random(20240501);
    const std::uint32_t factors[][2] = {{2, 1}, {1, 2}, {625, 256}, {625, 16}, {7, 3}};
    for (int round = 0; round < 20000; ++round) {
        const int integerDigits = 1 + int(random() % 6);
        const int fractionDigits = int(random() % 13);
        std::string text;
        unsigned __int128 mantissa = 0;
        unsigned __int128 scale = 1;
        for (int i = 0; i < integerDigits + fractionDigits; ++i) {
            const int digit = int(random() % 10);
            if (i == integerDigits)
                text += '.';
            text += char('0' + digit);
            mantissa = mantissa * 10 + unsigned(digit);
            if (i >= integerDigits)
                scale *= 10;
        }
        const auto& f = factors[random() % std::size(factors)];
        ASSERT_EQ(exact::scaledFloor(number(text), f[0], f[1]),
                  std::uint64_t(mantissa * f[0] / (scale * f[1])))
            << text;
        if (mantissa == 0)
            continue;
        const unsigned __int128 quotient = 37500000 * scale / mantissa;
        ASSERT_EQ(exact::quotientFloor(37500000, number(text)),
                  quotient >> 40 ? exact::kSaturated : std::uint64_t(quotient))
            << text;
    }
}

TEST(PortDevice, ComEntriesInTheStartupFolderComeFirstEvenWhenBroken) {
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::link("/dev/null", folder.filePath("COM3")));
    ASSERT_TRUE(QFile::link(folder.filePath("gone"), folder.filePath("COM4")));
    test::writeBytes(folder.filePath("com2"), {});
    EXPECT_EQ(portdevice::devicePath(1, folder.path()), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(portdevice::devicePath(2, folder.path()), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(portdevice::devicePath(3, folder.path()), folder.filePath("COM3"));
    EXPECT_EQ(portdevice::devicePath(4, folder.path() + u'/'), folder.filePath("COM4"));
    EXPECT_EQ(portdevice::devicePath(16, folder.path()), QStringLiteral("/dev/ttyS15"));
    EXPECT_EQ(portdevice::describe(3, folder.filePath("COM3")),
              "COM3 (" + folder.filePath("COM3") + " -> /dev/null)");
}

} // namespace
