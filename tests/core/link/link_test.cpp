// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/closetimelimit.h"
#include "core/link/downloadcheck.h"
#include "core/link/downloadframe.h"
#include "core/link/exactscaling.h"
#include "core/link/portdevice.h"
#include "core/support/gtestqt.h"
#include "core/support/programtable.h"

#include <QTemporaryDir>

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
    EXPECT_EQ(frame, bytes({0x83, 0x07, 0x35}) + QByteArray(60, 0x14) + bytes({0x0C, 0x3A, 0x0C}) +
                         QByteArray(60, 0x14) + bytes({0x4F}));
    const QByteArray wire = downloadframe::wireImage(frame);
    ASSERT_EQ(wire.size(), 381);
    EXPECT_EQ(wire.left(12),
              bytes({0x83, 0xFF, 0xFF, 0x07, 0xFF, 0xFF, 0x35, 0xFF, 0xFF, 0x14, 0xFF, 0xFF}));
    EXPECT_EQ(wire.right(3), bytes({0x4F, 0xFF, 0xFF}));
    EXPECT_EQ(downloadframe::wireImage(bytes({0x00})), bytes({0x00, 0xFF, 0xFF}));
}

// The settings of each row, and the frame bytes they give: {index, byte}.
struct SettingsCase {
    SettingsBlock settings;
    QList<std::pair<int, int>> bytes;
};

TEST(DownloadFrame, SettingsBytesInEveryProgram) {
    // clang-format off
    const SettingsCase cases[] = {
        {{"1", "1000", "1", "3", "Lefutó", "Lefutó"}, {{0, 0x03}, {2, 0x7C}, {65, 0x92}, {63, 0x0C}, {126, 0x1F}}},
        {{"2", "600", "2", "10", "Lefutó", "Felfutó"}, {{0, 0x43}, {64, 0x4E}, {1, 0x18}, {2, 0x24}, {65, 0xF4}}},
        {{"3", "12000", "0,2", "0,5", "Felfutó", "Lefutó"}, {{0, 0x83}, {64, 0x07}, {1, 0x01}, {2, 0x35}, {65, 0x0C}}},
        {{"5", "15000", "0,3072", "1,2288", "Felfutó", "Felfutó"}, {{0, 0xC3}, {64, 12}, {1, 3}, {2, 0xC4}, {65, 0x09}}},
        {{"6", "3500", "0,6144", "9,8304", "", "felfutó"}, {{0, 0x03}, {64, 24}, {1, 24}}},
        {{"8", "3500", "*", "510", "Lefutó", "Lefutó"}, {{1, 0xFF}, {64, 0x00}}},
        {{"4", "3500", "*", "51", "Lefutó", "Lefutó"}, {{1, 25}}},
    };
    const std::pair<const char*, int> cylinders[] = {{"1", 0x1F}, {"2", 0x2F}, {"3", 0x3F}, {"4", 0x4F}, {"5", 0x5F}, {"6", 0x6F}, {"8", 0x8F}};
    // clang-format on
    for (const ProgramFacts& f : test::programFacts()) {
        for (const SettingsCase& c : cases) {
            if (c.settings.limitRpm.toInt() > f.rpmCeiling)
                continue; // the check would refuse it
            SampleMap map(f.profile());
            map.settings = c.settings;
            const QByteArray frame = encode(f.profile(), map);
            ASSERT_EQ(frame.size(), f.frameLength);
            for (const auto& [index, byte] : c.bytes) {
                const int at = index == 126 ? f.frameLength - 1 : index;
                EXPECT_EQ(quint8(frame.at(at)), byte)
                    << f.name << " " << c.settings.limitRpm.toStdString();
            }
        }
        for (const auto& [cylinders, byte] : cylinders) {
            SampleMap map(f.profile());
            map.settings.cylinders = cylinders;
            EXPECT_EQ(quint8(encode(f.profile(), map).back()), byte) << f.name << " " << cylinders;
        }
    }
}

TEST(DownloadFrame, CellBytesAtTheirIndexesAndTheAxesAreNotSent) {
    const std::pair<const char*, int> cells[] = {{"12,3", 0x18}, {"63,5", 0x7F},   {"0,5", 0x01},
                                                 {"0,99", 0x01}, {" 7,25 ", 0x0E}, {"1,5e1", 0x1E}};
    for (const auto& [text, byte] : cells) {
        SampleMap map(profiles::zerwa4());
        map.table.setCell(4, 30, text);
        EXPECT_EQ(quint8(encode(profiles::zerwa4(), map).at(3)), byte) << text;
        EXPECT_EQ(downloadframe::cellByte(text, comma), byte) << text; // what a comparison says
    }
    for (const char* refused : {"70", "0,4", "x", ""})
        EXPECT_EQ(downloadframe::cellByte(refused, comma), std::nullopt) << refused;
    for (const ProgramFacts& f : test::programFacts()) {
        SampleMap map(f.profile());
        const QByteArray plain = encode(f.profile(), map.fill("10"));
        for (int row = 1; row <= f.rpmRows; ++row) {
            for (int column = 1; column <= f.mapColumns; ++column) {
                SampleMap marked = map;
                marked.table.setCell(column, row, "5");
                QByteArray expected = plain;
                expected[test::frameIndexOf(f, column, row)] = 0x0A;
                ASSERT_EQ(encode(f.profile(), marked), expected)
                    << f.name << " " << row << " " << column;
            }
        }
        for (int row = 0; row <= f.rpmRows; ++row)
            map.table.setCell(0, row, "szöveg");
        for (int column = 1; column <= f.mapColumns; ++column)
            map.table.setCell(column, 0, "9.99");
        EXPECT_EQ(encode(f.profile(), map), plain) << f.name;
    }
}

TEST(DownloadCheck, EachValueMustLieInItsRange) {
    using Set = void (*)(SampleMap&, const ProgramFacts&, const QString&);
    // One value in one field of the sample map, whose closing of 3 is no angle; whether
    // zerwa8 and zerwa4 (ceiling 15000) and zerwa4_60 (ceiling 12000) accept it.
    // clang-format off
    const std::pair<Set, QList<std::tuple<const char*, bool, bool>>> fields[] = {
        {[](SampleMap& m, const ProgramFacts&, const QString& t) { m.table.setCell(0, 1, t); },
         {{"599", 0, 0}, {"600", 1, 1}, {"15000", 1, 0}, {"", 0, 0}, {"600.0", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts& f, const QString& t) { m.table.setCell(0, f.rpmRows, t); },
         {{"599", 0, 0}, {"12000", 1, 1}, {"12001", 1, 0}, {"15001", 0, 0}, {"15000,0004", 1, 0}, {"15000,001", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts&, const QString& t) { m.table.setCell(1, 1, t); },
         {{"0,4", 0, 0}, {"0,5", 1, 1}, {"63,500001", 1, 1}, {"0,4999", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts& f, const QString& t) { m.table.setCell(f.mapColumns, f.rpmRows, t); },
         {{"63,5", 1, 1}, {"63,6", 0, 0}, {"", 0, 0}, {"abc", 0, 0}, {"-1", 0, 0}, {"2.5", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts&, const QString& t) { m.settings.limitRpm = t; },
         {{"599", 0, 0}, {"600", 1, 1}, {"12001", 1, 0}, {"15000", 1, 0}, {"15001", 0, 0}, {"", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts&, const QString& t) { m.settings.opening = t; },
         {{"0,19", 0, 0}, {"0,2", 1, 1}, {"2", 1, 1}, {"2,01", 0, 0}, {" *", 0, 0}, {"*", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts&, const QString& t) { m.settings.closing = t; },
         {{"0,49", 0, 0}, {"0,5", 1, 1}, {"10", 1, 1}, {"10,01", 0, 0}, {"50", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts&, const QString& t) { m.settings.opening = "*"; m.settings.closing = t; },
         {{"49", 0, 0}, {"50", 1, 1}, {"510", 1, 1}, {"511", 0, 0}, {"10", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts&, const QString& t) { m.settings.cylinders = t; }, {{"", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts&, const QString& t) { m.settings.inputPolarity = t; }, {{"", 0, 0}}},
        {[](SampleMap& m, const ProgramFacts&, const QString& t) { m.settings.outputPolarity = t; }, {{"", 0, 0}}}};
    // clang-format on
    for (const ProgramFacts& f : test::programFacts()) {
        for (std::size_t field = 0; field < std::size(fields); ++field) {
            for (const auto& [text, at15000, at12000] : fields[field].second) {
                SampleMap map(f.profile());
                fields[field].first(map, f, QString::fromUtf8(text));
                EXPECT_EQ(ValidateForDownload(f.profile(), map.table, map.settings, comma),
                          f.rpmCeiling == 15000 ? at15000 : at12000)
                    << f.name << " field " << field << " '" << text << "'";
            }
        }
    }
}

TEST(DownloadCheck, NamesTheFirstValueItRefusesInItsOrder) {
    using F = DownloadFault::Field;
    for (const ProgramFacts& f : test::programFacts()) {
        SampleMap map(f.profile());
        auto fault = [&] { return FindDownloadFault(f.profile(), map.table, map.settings, comma); };
        EXPECT_FALSE(fault()) << f.name;
        // Each line adds a value the check refuses, earlier in its order than the last one.
        map.settings.outputPolarity.clear();
        EXPECT_EQ(fault(), (DownloadFault{F::OutputPolarity, {}}));
        map.settings.cylinders.clear();
        EXPECT_EQ(fault(), (DownloadFault{F::Cylinders, {}}));
        map.settings.closing = "11";
        EXPECT_EQ(fault(), (DownloadFault{F::Closing, {}}));
        map.settings.opening = "3";
        EXPECT_EQ(fault(), (DownloadFault{F::Opening, {}}));
        map.settings.limitRpm = "599";
        EXPECT_EQ(fault(), (DownloadFault{F::LimitRpm, {}}));
        map.table.setCell(f.mapColumns, f.rpmRows, "x");
        map.table.setCell(2, f.rpmRows, "64");
        EXPECT_EQ(fault(), (DownloadFault{F::DataCell, {2, f.rpmRows}}));
        map.table.setCell(1, 1, "0");
        EXPECT_EQ(fault(), (DownloadFault{F::DataCell, {1, 1}}));
        map.table.setCell(0, f.rpmRows, "");
        EXPECT_EQ(fault(), (DownloadFault{F::RpmCell, {0, f.rpmRows}}));
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
    EXPECT_EQ(exact::scaledFloor(number("1.2287" + nines), 625, 256), 2u);
    EXPECT_EQ(exact::quotientFloor(37500000, number("600." + std::string(20000, '0') + "1")),
              62499u);
}

// The close of a port waits at most twice the line time at 2400 baud, 10 bits a byte, plus 2 s.
TEST(CloseTimeLimit, TwiceTheLineTimePlusTwoSeconds) {
    const std::pair<qint64, int> cases[] = {{381, 5175}, {741, 8175}, {240, 4000}, {0, 2000}};
    for (const auto& [bytes, limitMs] : cases)
        EXPECT_EQ(CloseTimeLimit().forBytes(bytes).count(), limitMs) << bytes;
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
