// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/linesfile.h"
#include "core/storage/mapfile.h"
#include "core/storage/windows1250.h"
#include "core/storage/workingfile.h"
#include "core/support/gtestqt.h"
#include "core/support/programtable.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zerwa;
using test::crlfFile;
using test::ProgramFacts;

namespace {

// A map whose every cell names its own place, so that any mix-up of the order shows.
MapFileContent placeMarkedMap(const VariantProfile& profile) {
    MapFileContent content{{"4", "3500", "*", "180,5", "Lefutó", "Felfutó"},
                           MapTable::forProfile(profile)};
    for (int row = 0; row < profile.gridRows(); ++row)
        for (int column = 0; column < profile.gridColumns(); ++column)
            content.table.setCell(column, row, QStringLiteral("c%1r%2").arg(column).arg(row));
    return content;
}

TEST(MapFile, EachProgramsLayoutByteForByte) {
    for (const ProgramFacts& f : test::programFacts()) {
        const int columns = f.mapColumns + 1;
        QList<QByteArray> lines(f.mapFileLines);
        lines[0] = f.magic.toLatin1();
        lines[1] = "4";
        lines[2] = "3500";
        lines[3] = "*";
        lines[4] = "180,5";
        lines[5] = "Lefut\xF3";
        lines[6] = "Felfut\xF3";
        // Cell (c, r) stands on line 8 + r * columns + c, counted from 1.
        for (int r = 0; r <= f.rpmRows; ++r)
            for (int c = 0; c < columns; ++c)
                lines[7 + r * columns + c] = QStringLiteral("c%1r%2").arg(c).arg(r).toLatin1();
        const auto bytes = mapfile::encode(f.profile(), placeMarkedMap(f.profile()));
        ASSERT_TRUE(bytes);
        EXPECT_EQ(*bytes, crlfFile(lines)) << f.name;
        EXPECT_EQ(mapfile::decode(f.profile(), *bytes), placeMarkedMap(f.profile())) << f.name;
    }
}

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    bool accepted;
    QList<QByteArray> values; // lines 2.. as read; the lines past them read as empty
};

TEST(MapFile, TheReaderChecksOnlyTheMagicLine) {
    const QByteArray longest(mapfile::maxLineLength, '7');
    const QByteArray tooLong(mapfile::maxLineLength + 1, '7');
    const QByteArray full = crlfFile(QList<QByteArray>{"qmt8"} + QList<QByteArray>(150, "5"));
    // clang-format off
    DecodeCase cases[] = {
        {"empty", "", false, {}},                         {"other case", "QMT8\r\n4\r\n", false, {}},
        {"trailing blank", "qmt8 \r\n4\r\n", false, {}},   {"byte-order mark", "\xEF\xBB\xBFqmt8\r\n", false, {}},
        {"other program", "qmt4\r\n4\r\n", false, {}},     {"longer magic", "qmt80\r\n", false, {}},
        {"magic only", "qmt8\r\n", true, {}},               {"no line end", "qmt8", true, {}},
        {"six settings", "qmt8\r\n4\r\n3500\r\n*\r\n180\r\nLefut\xF3\r\nFelfut\xF3\r\n", true,
         {"4", "3500", "*", "180", "Lefut\xF3", "Felfut\xF3"}},
        {"LF alone", "qmt8\n4\n\n0,5\n", true, {"4", "", "0,5"}},
        {"last line without end", "qmt8\r\n4\r\n35", true, {"4", "35"}},
        {"CR before CR LF", "qmt8\r\n4\r\n4\r\r\n", true, {"4", "4\r"}},
        // A drop-down value its list does not hold reads as no selection.
        {"UTF-8 polarity", "qmt8\r\n\r\n\r\n\r\n\r\nLefut\xC3\xB3\r\n", true, {}},
        {"no such cylinder count", "qmt8\r\n7\r\n", true, {}},
        {"longest line", "qmt8\r\n4\r\n" + longest + "\r\n", true, {"4", longest}},
        {"overlong line", "qmt8\r\n4\r\n" + tooLong + "\r\n", false, {}},
        {"extra lines ignored", full + "extra\r\n", true, QList<QByteArray>(150, "5")}};
    // "5" is a cylinder count but no polarity.
    std::end(cases)[-1].values[4] = std::end(cases)[-1].values[5] = "";
    // clang-format on
    for (const DecodeCase& c : cases) {
        const auto content = mapfile::decode(profiles::zerwa8(), c.bytes);
        ASSERT_EQ(bool(content), c.accepted) << c.name;
        if (!content)
            continue;
        QList<QByteArray> lines = c.values;
        lines.prepend("qmt8");
        lines.resize(151);
        // Read back through the writer, whose layout the test above pins down.
        EXPECT_EQ(mapfile::encode(profiles::zerwa8(), *content), crlfFile(lines)) << c.name;
    }
}

TEST(MapFile, ACylinderCountTheProgramDoesNotOfferIsNoSelection) {
    EXPECT_EQ(mapfile::decode(profiles::zerwa4_60(), "qmt4_60\r\n1\r\n")->settings.cylinders, "");
    EXPECT_EQ(mapfile::decode(profiles::zerwa4(), "qmt4\r\n1\r\n")->settings.cylinders, "1");
}

TEST(LinesFile, EveryLineEndEndsALineAndWritingUsesWindows1250AndCrLf) {
    // clang-format off
    const std::pair<const char*, QStringList> cases[] = {
        {"", {}}, {"a", {"a"}}, {"a\r\n", {"a"}}, {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"\r\n", {""}}, {"a\n\rb", {"a", "", "b"}}, {"\r\r", {"", ""}}};
    // clang-format on
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(linesfile::splitLines(text), lines) << text;
    QTemporaryDir dir; // writing: Windows-1250 and CR LF, tested with the working file below
    const QString path = dir.filePath("Editv.txt");
    ASSERT_TRUE(linesfile::write(path, {"/tmp/mérés ő.qmt", "ŐŰÁÉÍÓÖÚÜ€"}));
    EXPECT_EQ(linesfile::read(path),
              std::optional<QStringList>({"/tmp/mérés ő.qmt", "ŐŰÁÉÍÓÖÚÜ€"}));
    EXPECT_FALSE(linesfile::write(path, {QStringLiteral("\u00F5")})); // õ is not ő
    EXPECT_EQ(linesfile::read(path)->size(), 2);                      // the old file stays
    EXPECT_FALSE(linesfile::read(dir.filePath("none.txt")));
}

TEST(WorkingFile, PortLineAndSaveRecord) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"/m/a.qmt\r\n", "/m/a.qmt\r\n16\r\n"}, {"/m/a.qmt", "/m/a.qmt\r\n16\r\n"},
        {"/m/a.qmt\r\n2\r\n", "/m/a.qmt\r\n16\r\n"}, {"a\r\n2\r\nthird\r\n", "a\r\n16\r\nthird\r\n"},
        {"a\n\nc\rd", "a\r\n16\r\nc\r\nd\r\n"}};
    // clang-format on
    QTemporaryDir dir;
    const QString path = dir.filePath("Edit.txt");
    for (const auto& [before, after] : cases) {
        test::writeBytes(path, before);
        ASSERT_TRUE(workingfile::updatePortLine(path, "16"));
        EXPECT_EQ(test::readBytes(path), QByteArray(after)) << before;
    }
    EXPECT_TRUE(workingfile::updatePortLine(dir.filePath("none.txt"), "3"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.txt")));
    ASSERT_TRUE(workingfile::writeAfterSave(path, "/home/kati/mérés ő.qmt", "12"));
    EXPECT_EQ(test::readBytes(path), QByteArray("/home/kati/m\xE9r\xE9s \xF5.qmt\r\n12\r\n"));
    ASSERT_TRUE(workingfile::writeAfterSave(path, "/a.qmt", QString())); // no port chosen yet
    EXPECT_EQ(test::readBytes(path), QByteArray("/a.qmt\r\n\r\n"));
    EXPECT_FALSE(workingfile::canRecordMapFileName(QStringLiteral("/home/\u4F60/a.qmt")));
    EXPECT_FALSE(workingfile::canRecordMapFileName("/a\nb.qmt"));
}

} // namespace
