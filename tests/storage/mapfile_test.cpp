#include "model/variantprofiles.h"
#include "storage/mapfile.h"
#include "storage/maplayout.h"
#include "support/gtestqt.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace zerwa;
using test::crlfFile;
using test::ProgramLayout;

namespace {

// A map whose every cell names its own place, so that any mix-up of the order shows.
MapFileContent placeMarkedMap(const VariantProfile& profile) {
    MapFileContent content{{"4", "3500", "*", "180,5", "Lefutó", "Felfutó"},
                           MapTable::forProfile(profile)};
    for (int row = 0; row < profile.gridRows(); ++row) {
        for (int column = 0; column < profile.gridColumns(); ++column)
            content.table.setCell(column, row, QStringLiteral("c%1r%2").arg(column).arg(row));
    }
    return content;
}

class MapFileLayout : public ::testing::TestWithParam<ProgramLayout> {};

TEST_P(MapFileLayout, CellOfColumnCRowRStandsOnLine8PlusRTimesCPlusC) {
    const ProgramLayout& layout = GetParam();
    const VariantProfile& profile = test::profileOf(layout);
    const auto bytes = mapfile::encode(profile, placeMarkedMap(profile));
    ASSERT_TRUE(bytes);

    QList<QByteArray> lines(layout.lines);
    lines[0] = layout.magic;
    lines[1] = "4";
    lines[2] = "3500";
    lines[3] = "*";
    lines[4] = "180,5";
    lines[5] = "Lefut\xF3";
    lines[6] = "Felfut\xF3";
    for (int row = 0; row < layout.rows; ++row) {
        for (int column = 0; column < layout.columns; ++column)
            lines[8 + row * layout.columns + column - 1] =
                "c" + QByteArray::number(column) + "r" + QByteArray::number(row);
    }
    EXPECT_EQ(*bytes, crlfFile(lines));
    EXPECT_EQ(bytes->count("\r\n"), layout.lines);
    EXPECT_EQ(bytes->count('\n'), layout.lines);
    EXPECT_EQ(mapfile::lineCount(profile), layout.lines);
}

TEST_P(MapFileLayout, WhatIsWrittenReadsBackUnchanged) {
    const VariantProfile& profile = test::profileOf(GetParam());
    MapFileContent content = placeMarkedMap(profile);
    content.table.setCell(0, 0, QString());
    content.table.setCell(1, 1, QStringLiteral("12,5"));
    content.table.setCell(2, 1, QString());
    content.table.setCell(1, 2, QStringLiteral("*"));
    content.table.setCell(1, 3, QStringLiteral(" 7 "));    // blanks are kept
    content.table.setCell(2, 3, QStringLiteral("a\rb\r")); // so is a lone CR
    content.table.setCell(1, 4, QString(200, u'9'));       // longer than 79 characters
    content.settings.cylinders.clear();
    const auto bytes = mapfile::encode(profile, content);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(mapfile::decode(profile, *bytes), content);
}

INSTANTIATE_TEST_SUITE_P(Programs, MapFileLayout, ::testing::ValuesIn(test::programLayouts()),
                         [](const auto& info) { return std::string(info.param.program); });

struct RefusedValue {
    const char* name;
    int column; // -1: the value is Edit1's
    int row;
    QString value;
    QString place;
};

class MapFileRefusesToWrite : public ::testing::TestWithParam<RefusedValue> {};

TEST_P(MapFileRefusesToWrite, AValueThatWouldNotReadBackUnchanged) {
    const RefusedValue& p = GetParam();
    const VariantProfile& profile = profiles::zerwa8();
    MapFileContent content = placeMarkedMap(profile);
    if (p.column < 0)
        content.settings.limitRpm = p.value;
    else
        content.table.setCell(p.column, p.row, p.value);
    QString error;
    EXPECT_FALSE(mapfile::encode(profile, content, &error));
    EXPECT_TRUE(error.endsWith(p.place)) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Values, MapFileRefusesToWrite,
    ::testing::Values(RefusedValue{"OutsideTheCodePage", 2, 3, QStringLiteral("1\u4F60"),
                                   QStringLiteral("cella (oszlop 2, sor 3)")},
                      RefusedValue{"LineFeed", 0, 5, QStringLiteral("600\n850"),
                                   QStringLiteral("cella (oszlop 0, sor 5)")},
                      RefusedValue{"SettingOutsideTheCodePage", -1, 0, QStringLiteral("3500\u00F5"),
                                   QStringLiteral("„Határolási ford. szám”")},
                      RefusedValue{"Overlong", 8, 15, QString(mapfile::maxLineLength + 1, u'1'),
                                   QStringLiteral("cella (oszlop 8, sor 15)")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MapFileWriter, TheLongestReadableValueIsWritten) {
    const VariantProfile& profile = profiles::zerwa8();
    MapFileContent content = placeMarkedMap(profile);
    content.table.setCell(8, 15, QString(mapfile::maxLineLength, u'1'));
    const auto bytes = mapfile::encode(profile, content);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(mapfile::decode(profile, *bytes), content);
}

// What the reader makes of a zerwa8 file: nothing, or the given lines 2 onward.
struct DecodeCase {
    const char* name;
    QByteArray bytes;
    bool accepted;
    QList<QByteArray> expectedValues; // lines 2.. as read; missing ones read as empty
};

class MapFileDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(MapFileDecode, ReadsOrRefuses) {
    const DecodeCase& p = GetParam();
    const VariantProfile& profile = profiles::zerwa8();
    const auto content = mapfile::decode(profile, p.bytes);
    ASSERT_EQ(bool(content), p.accepted);
    if (!content)
        return;
    QList<QByteArray> lines = {"qmt8"};
    lines += p.expectedValues;
    while (lines.size() < 151)
        lines << QByteArray();
    // Reading back is checked through the writer, whose layout the tests above pin down.
    EXPECT_EQ(mapfile::encode(profile, *content), crlfFile(lines));
}

const QByteArray kLong100(100, 'x');
const QByteArray kLongest(mapfile::maxLineLength, '7');
const QByteArray kTooLong(mapfile::maxLineLength + 1, '7');

INSTANTIATE_TEST_SUITE_P(
    Files, MapFileDecode,
    ::testing::Values(
        DecodeCase{"Empty", "", false, {}}, DecodeCase{"OtherCase", "QMT8\r\n4\r\n", false, {}},
        DecodeCase{"TrailingBlank", "qmt8 \r\n4\r\n", false, {}},
        DecodeCase{"LeadingBlank", " qmt8\r\n4\r\n", false, {}},
        DecodeCase{"ByteOrderMark", "\xEF\xBB\xBFqmt8\r\n4\r\n", false, {}},
        DecodeCase{"OtherProgram", "qmt4\r\n4\r\n", false, {}},
        DecodeCase{"LongerMagic", "qmt80\r\n", false, {}},
        DecodeCase{"CrAloneEndsNoLine", "qmt8\r4\r", false, {}},
        DecodeCase{"MagicOnly", "qmt8\r\n", true, {}},
        DecodeCase{"MagicWithoutLineEnd", "qmt8", true, {}},
        DecodeCase{"SixSettingsOnly",
                   "qmt8\r\n4\r\n3500\r\n*\r\n180\r\nLefut\xF3\r\nFelfut\xF3\r\n",
                   true,
                   {"4", "3500", "*", "180", "Lefut\xF3", "Felfut\xF3"}},
        DecodeCase{"LineFeedsAlone", "qmt8\n4\n\n0,5\n", true, {"4", "", "0,5"}},
        DecodeCase{"MixedLineEnds", "qmt8\r\n4\n3500\r\n", true, {"4", "3500"}},
        DecodeCase{"LastLineWithoutLineEnd", "qmt8\r\n4\r\n35", true, {"4", "35"}},
        DecodeCase{"CrBeforeCrLf", "qmt8\r\n\r\n4\r\r\n", true, {"", "4\r"}},
        DecodeCase{"CrInsideAValue", "qmt8\r\n\r\na\rb\r\n", true, {"", "a\rb"}},
        DecodeCase{
            "NulBytes", QByteArray("qmt8\r\n\r\n\0x\r\n", 12), true, {"", QByteArray("\0x", 2)}},
        // A drop-down value that is not an item of its list reads as no selection.
        DecodeCase{"Utf8Polarity",
                   "qmt8\r\n4\r\n\r\n\r\n\r\nLefut\xC3\xB3\r\nFelfut\xF3\r\n",
                   true,
                   {"4", "", "", "", "", "Felfut\xF3"}},
        DecodeCase{"PolarityInOtherCase",
                   "qmt8\r\n4\r\n\r\n\r\n\r\nLefut\xF3\r\nfelfut\xF3\r\n",
                   true,
                   {"4", "", "", "", "Lefut\xF3"}},
        DecodeCase{"CylindersNotOffered", "qmt8\r\n7\r\n3500\r\n", true, {"", "3500"}},
        DecodeCase{"CylindersWithBlank", "qmt8\r\n4 \r\n3500\r\n", true, {"", "3500"}},
        DecodeCase{"LongLineReadWhole",
                   "qmt8\r\n\r\n" + kLong100 + "\r\n5\r\n",
                   true,
                   {"", kLong100, "5"}},
        DecodeCase{"LongestLine", "qmt8\r\n\r\n" + kLongest + "\r\n", true, {"", kLongest}},
        DecodeCase{"OverlongLine", "qmt8\r\n4\r\n" + kTooLong + "\r\n", false, {}},
        DecodeCase{"OverlongLastLineWithoutEnd", "qmt8\r\n" + kTooLong, false, {}},
        DecodeCase{
            "ExtraLinesIgnored",
            crlfFile(test::defaultMapLines(test::programLayouts().at(0),
                                           {"1", "", "", "", "", ""})) +
                "extra\r\n" + kTooLong + "\r\n",
            true,
            test::defaultMapLines(test::programLayouts().at(0), {"1", "", "", "", "", ""}).mid(1)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MapFileDecode, OneCylinderIsAnItemOnlyWhereTheProgramOffersIt) {
    const QByteArray file = "\r\n1\r\n";
    for (const ProgramLayout& layout : test::programLayouts()) {
        const auto content = mapfile::decode(test::profileOf(layout), layout.magic + file);
        ASSERT_TRUE(content);
        const bool offered = QByteArray(layout.program) != "zerwa4_60";
        EXPECT_EQ(content->settings.cylinders, offered ? "1" : "") << layout.program;
    }
}

TEST(MapFileDecode, EachProgramRefusesTheOthersFiles) {
    for (const ProgramLayout& writer : test::programLayouts()) {
        const QByteArray file = crlfFile(test::defaultMapLines(writer, {"4", "", "", "", "", ""}));
        for (const ProgramLayout& reader : test::programLayouts()) {
            const bool own = QByteArray(writer.program) == reader.program;
            EXPECT_EQ(bool(mapfile::decode(test::profileOf(reader), file)), own)
                << writer.program << " file in " << reader.program;
        }
    }
}

class MapFileRead : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    mapfile::ReadResult read(const QString& filePath) const {
        return mapfile::read(profiles::zerwa4(), filePath, QStringLiteral("as named"));
    }
    QTemporaryDir m_dir;
};

TEST_F(MapFileRead, AMissingFileIsNamedOnTheMessagesSecondLine) {
    const auto result = read(path("nincs.qmt"));
    EXPECT_FALSE(result.content);
    EXPECT_EQ(result.message, QStringLiteral("Nem tudom megnyitni az állományt!\nas named"));
    EXPECT_EQ(result.message.split(u'\n').value(1), QStringLiteral("as named"));
}

TEST_F(MapFileRead, AFolderIsNoFile) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("mappa.qmt"));
    EXPECT_EQ(read(path("mappa.qmt")).message, mapfile::cannotOpenMessage("as named"));
}

TEST_F(MapFileRead, EmptyForeignAndHugeFilesAreNoMapFiles) {
    test::writeBytes(path("empty.qmt"), "");
    test::writeBytes(path("other.qmt"), "qmt4_60\r\n");
    // Far more than a map can hold, without a single line end.
    test::writeBytes(path("huge.qmt"), "qmt4\r\n" + QByteArray(12 * 1024 * 1024, 'x'));
    for (const char* name : {"empty.qmt", "other.qmt", "huge.qmt"}) {
        const auto result = read(path(name));
        EXPECT_FALSE(result.content) << name;
        EXPECT_EQ(result.message, QStringLiteral("Nem megfelelő adatállomány!")) << name;
    }
}

TEST_F(MapFileRead, AnUnreadableFileIsNoMapFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    test::writeBytes(path("locked.qmt"), "qmt4\r\n");
    QFile::setPermissions(path("locked.qmt"), QFileDevice::WriteOwner);
    EXPECT_EQ(read(path("locked.qmt")).message, mapfile::wrongFileMessage());
}

} // namespace
