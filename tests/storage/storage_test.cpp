#include "storage/linesfile.h"
#include "storage/mapfile.h"
#include "storage/windows1250.h"
#include "storage/workingfile.h"
#include "support/gtestqt.h"
#include "support/programtable.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

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

TEST(MapFile, EachProgramReadsOnlyItsOwnFiles) {
    for (const ProgramFacts& writer : test::programFacts()) {
        const QByteArray file = crlfFile({writer.magic.toLatin1(), "4"});
        for (const ProgramFacts& reader : test::programFacts())
            EXPECT_EQ(bool(mapfile::decode(reader.profile(), file)), &writer == &reader)
                << writer.name << " file in " << reader.name;
    }
}

TEST(MapFile, ValuesThatWouldNotReadBackAreNotWritten) {
    MapFileContent content = placeMarkedMap(profiles::zerwa8());
    content.table.setCell(2, 3, QStringLiteral("1\u4F60"));
    EXPECT_FALSE(mapfile::encode(profiles::zerwa8(), content));
    content = placeMarkedMap(profiles::zerwa8());
    content.table.setCell(0, 5, QStringLiteral("600\n850"));
    EXPECT_FALSE(mapfile::encode(profiles::zerwa8(), content));
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
    const DecodeCase cases[] = {
        {"empty", "", false, {}},
        {"other case", "QMT8\r\n4\r\n", false, {}},
        {"trailing blank", "qmt8 \r\n4\r\n", false, {}},
        {"byte-order mark", "\xEF\xBB\xBFqmt8\r\n4\r\n", false, {}},
        {"other program", "qmt4\r\n4\r\n", false, {}},
        {"longer magic", "qmt80\r\n", false, {}},
        {"magic only", "qmt8\r\n", true, {}},
        {"no line end", "qmt8", true, {}},
        {"six settings",
         "qmt8\r\n4\r\n3500\r\n*\r\n180\r\nLefut\xF3\r\nFelfut\xF3\r\n",
         true,
         {"4", "3500", "*", "180", "Lefut\xF3", "Felfut\xF3"}},
        {"LF alone", "qmt8\n4\n\n0,5\n", true, {"4", "", "0,5"}},
        {"last line without end", "qmt8\r\n4\r\n35", true, {"4", "35"}},
        {"CR before CR LF", "qmt8\r\n4\r\r\n", true, {"4\r"}},
        {"UTF-8 kept as bytes",
         "qmt8\r\n\r\n\r\n\r\n\r\nLefut\xC3\xB3\r\n",
         true,
         {"", "", "", "", "Lefut\xC3\xB3"}},
        {"longest line", "qmt8\r\n" + longest + "\r\n", true, {longest}},
        {"overlong line", "qmt8\r\n4\r\n" + tooLong + "\r\n", false, {}},
        {"extra lines ignored", full + "extra\r\n", true, QList<QByteArray>(150, "5")},
    };
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

TEST(MapFile, ReadNamesAMissingFileAndRefusesOthers) {
    QTemporaryDir dir;
    const auto read = [&](const QString& name) {
        return mapfile::read(profiles::zerwa4(), dir.filePath(name), "as named");
    };
    EXPECT_EQ(read("nincs.qmt").message,
              QStringLiteral("Nem tudom megnyitni az állományt!\nas named"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("mappa.qmt"));
    EXPECT_EQ(read("mappa.qmt").message, read("nincs.qmt").message);
    test::writeBytes(dir.filePath("empty.qmt"), "");
    test::writeBytes(dir.filePath("other.qmt"), "qmt4_60\r\n");
    for (const char* name : {"empty.qmt", "other.qmt"}) {
        EXPECT_FALSE(read(name).content);
        EXPECT_EQ(read(name).message, QStringLiteral("Nem megfelelő adatállomány!"));
    }
    test::writeBytes(dir.filePath("ok.qmt"), "qmt4\r\n8\r\n");
    EXPECT_EQ(read("ok.qmt").content->settings.cylinders, QStringLiteral("8"));
}

TEST(LinesFile, EveryLineEndEndsALineAndWritingUsesCrLf) {
    const std::pair<const char*, QStringList> cases[] = {
        {"", {}},          {"a", {"a"}},
        {"a\r\n", {"a"}},  {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"\r\n", {""}},    {"a\n\rb", {"a", "", "b"}},
        {"\r\r", {"", ""}}};
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(linesfile::splitLines(text), lines) << text;

    QTemporaryDir dir;
    const QString path = dir.filePath("Editv.txt");
    ASSERT_TRUE(linesfile::write(path, {"/tmp/mérés ő.qmt", "3"}));
    EXPECT_EQ(test::readBytes(path), QByteArray("/tmp/m\xE9r\xE9s \xF5.qmt\r\n3\r\n"));
    EXPECT_EQ(linesfile::read(path), std::optional<QStringList>({"/tmp/mérés ő.qmt", "3"}));
    EXPECT_FALSE(linesfile::read(dir.filePath("none.txt")));
}

TEST(LinesFile, AWriteThatFailsKeepsThePreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.txt");
    test::writeBytes(path, "old\r\n");
    EXPECT_FALSE(linesfile::write(path, {QStringLiteral("\u4F60")}));
    // A disk that fills up part-way, both inside the write buffer and past it.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const qsizetype size : {qsizetype(3000), qsizetype(100000)}) {
        rlimit limit = saved;
        limit.rlim_cur = 100;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool written = linesfile::writeBytes(path, QByteArray(size, 'x'));
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_FALSE(written) << size;
    }
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(test::readBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"keep.txt"}));
}

TEST(WorkingFile, PortConfirmationReplacesOrAppendsLineTwo) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"/m/a.qmt\r\n", "/m/a.qmt\r\n16\r\n"},
        {"/m/a.qmt", "/m/a.qmt\r\n16\r\n"},
        {"/m/a.qmt\r\n2\r\n", "/m/a.qmt\r\n16\r\n"},
        {"a\r\n2\r\nthird\r\n", "a\r\n16\r\nthird\r\n"},
        {"a\n\nc\rd", "a\r\n16\r\nc\r\nd\r\n"}};
    QTemporaryDir dir;
    const QString path = dir.filePath("Edit.txt");
    for (const auto& [before, after] : cases) {
        test::writeBytes(path, before);
        ASSERT_TRUE(workingfile::updatePortLine(path, "16"));
        EXPECT_EQ(test::readBytes(path), QByteArray(after)) << before;
    }
    EXPECT_TRUE(workingfile::updatePortLine(dir.filePath("none.txt"), "3"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.txt")));
}

TEST(WorkingFile, SaveWritesExactlyTwoLines) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Editv4_60.txt");
    test::writeBytes(path, "/old.qmt\r\n3\r\nthird\r\n");
    ASSERT_TRUE(workingfile::writeAfterSave(path, "/home/kati/mérés ő.qmt", "12"));
    EXPECT_EQ(test::readBytes(path), QByteArray("/home/kati/m\xE9r\xE9s \xF5.qmt\r\n12\r\n"));
    ASSERT_TRUE(workingfile::writeAfterSave(path, "/a.qmt", QString()));
    EXPECT_EQ(test::readBytes(path), QByteArray("/a.qmt\r\n\r\n"));
    EXPECT_TRUE(workingfile::canRecordMapFileName("/home/kati/Mérés ŐŰ/a.qmt"));
    EXPECT_FALSE(workingfile::canRecordMapFileName(QStringLiteral("/home/\u4F60/a.qmt")));
    EXPECT_FALSE(workingfile::canRecordMapFileName("/a\nb.qmt"));
}

TEST(Windows1250, HungarianLettersAndEveryByteRoundTrip) {
    const QString text = QStringLiteral("Lefutó Felfutó őŐűŰáéíöüÁÉÍÓÖÚÜ€");
    EXPECT_EQ(windows1250::encode(text),
              QByteArray("Lefut\xF3 Felfut\xF3 \xF5\xD5\xFB\xDB\xE1\xE9\xED\xF6\xFC"
                         "\xC1\xC9\xCD\xD3\xD6\xDA\xDC\x80"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(windows1250::encode(windows1250::decode(all)), all);
    EXPECT_EQ(windows1250::decode("\x8A\xFF"), QStringLiteral("\u0160\u02D9"));
    EXPECT_FALSE(windows1250::encode(QStringLiteral("\u00F5"))); // õ is not ő
}

} // namespace
