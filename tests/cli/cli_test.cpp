// The tool driven as a user drives it, on maps the tests write: outputs and exit codes.
#include "model/variantprofiles.h"
#include "storage/windows1250.h"
#include "support/gtestqt.h"
#include "support/testfiles.h"
#include "toolrunner.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace zerwa;
using test::SampleMap;
using test::ToolRunner;

namespace {

const QString kRefused = QStringLiteral("Hiba az adattáblán! Kérem ellenőrizze az adatokat!");

class Tool : public ::testing::TestWithParam<const VariantProfile*> {
protected:
    const VariantProfile& profile() const { return *GetParam(); }
    SampleMap sample() const { return test::SampleMap(profile()); }
    ToolRunner tool;
};

TEST_P(Tool, CheckNamesEachMapAndTheValueRefused) {
    const VariantProfile& p = profile();
    SampleMap badCell = sample();
    badCell.table.setCell(2, 3, QStringLiteral("abc"));
    SampleMap badCylinders = sample();
    badCylinders.settings.cylinders = p.cylinderItems.contains("1") ? "7" : "1";
    tool.writeMap("good.qmt", p, sample());
    tool.writeMap("cell.qmt", p, badCell);
    tool.writeMap("cyl.qmt", p, badCylinders);
    const QString heading = p.mapColumns == 8 ? "2.10" : "2.40"; // default heading of column 2
    const QString rpm = p.mapColumns == 8 ? "1100" : (p.rpmRows == 60 ? "950" : "1100");

    const auto all = tool.run({"check", "--decimal", ",", "good.qmt", "cell.qmt", "cyl.qmt"});
    EXPECT_EQ(all.exitCode, 1);
    EXPECT_EQ(all.outText(), "good.qmt: OK\ncell.qmt: " + kRefused + " [map column 2 (" + heading +
                                 "), rpm row 3 (" + rpm + "): \"abc\"]\ncyl.qmt: " + kRefused +
                                 " [Hengerek száma: \"\"]\n");
    EXPECT_EQ(tool.run({"check", "--decimal", ",", "good.qmt"}).exitCode, 0);
    // With a point as the separator the sample's "1,5" is no number.
    EXPECT_EQ(tool.run({"check", "--decimal", ".", "good.qmt"}).exitCode, 1);

    const auto missing = tool.run({"check", "--decimal", ",", "good.qmt", "nincs.qmt"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.outText(), "good.qmt: OK\n");
    EXPECT_EQ(missing.errText(), "Nem tudom megnyitni az állományt! nincs.qmt\n");
}

TEST_P(Tool, FrameGivesTheDocumentedBytes) {
    tool.writeMap("map.qmt", profile(), test::workedExampleMap(profile()));
    const QByteArray frame = test::workedExampleFrame(profile().frameLength);
    const auto raw = tool.run({"frame", "map.qmt", "--format", "raw", "--decimal", ","});
    EXPECT_EQ(raw.exitCode, 0);
    EXPECT_EQ(raw.out, frame);
    const auto wire = tool.run({"frame", "map.qmt", "--wire", "--format", "raw", "--decimal", ","});
    EXPECT_EQ(wire.out, test::wireOf(frame));
    const auto hex = tool.run({"frame", "map.qmt", "--wire", "--decimal", ","});
    EXPECT_TRUE(hex.out.startsWith("83 FF FF 07 FF FF 35 FF FF 14 FF FF"));
    EXPECT_EQ(QByteArray::fromHex(hex.out), test::wireOf(frame));
    EXPECT_EQ(hex.out.count('\n'), (frame.size() * 3 + 15) / 16);

    SampleMap bad = test::workedExampleMap(profile());
    bad.settings.inputPolarity = windows1250::decode("Felfut\xC3\xB3"); // stored in UTF-8
    tool.writeMap("bad.qmt", profile(), bad);
    const auto refused = tool.run({"frame", "bad.qmt", "--decimal", ","});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_EQ(refused.errText(), "bad.qmt: " + kRefused + " [Bemeneti polaritás: \"\"]\n");
}

TEST_P(Tool, ExplainListsEveryIndexOnceWithItsField) {
    const VariantProfile& p = profile();
    SampleMap map = test::workedExampleMap(p);
    map.settings.closing = QStringLiteral("1,2288"); // exactly 3 steps of 0.4096 ms
    map.settings.limitRpm = QStringLiteral("7000");  // 5357.142857..., no end
    tool.writeMap("map.qmt", p, map);
    const auto result = tool.run({"frame", "map.qmt", "--format", "explain", "--decimal", ","});
    EXPECT_EQ(result.exitCode, 0);
    const QStringList lines = result.outText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), p.frameLength);
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines.at(i).simplified().section(u' ', 0, 0).toInt(), i)
            << lines.at(i).toStdString();

    // Where the documented layout puts cells: {index, map column, rpm row}.
    QList<std::array<int, 3>> cells = {{3, p.mapColumns, p.mapColumns == 8 ? 15 : 30}, {125, 1, 1}};
    if (p.mapColumns == 8)
        cells += {{62, 5, 8}, {66, 4, 8}};
    else
        cells += {{62, 1, 16}, {66, 4, 15}};
    if (p.rpmRows == 60)
        cells += {{126, 4, 60}, {245, 1, 31}};
    for (const auto& [index, column, row] : cells)
        EXPECT_TRUE(lines.at(index).contains(
            QStringLiteral("map column %1, rpm row %2 ").arg(column).arg(row)))
            << lines.at(index).toStdString();
    EXPECT_TRUE(lines.at(1).contains("= 3 ") && lines.at(1).endsWith("0x03"))
        << lines.at(1).toStdString();
    EXPECT_TRUE(lines.at(2).contains("= 5357,142857142…")) << lines.at(2).toStdString();
    EXPECT_TRUE(lines.at(2).endsWith("0xED") && lines.at(65).endsWith("0x14")); // 5357 = 0x14ED
    EXPECT_TRUE(lines.last().endsWith("0x4F"));
}

TEST_P(Tool, DiffNamesEachDifferenceWithBothTexts) {
    const VariantProfile& p = profile();
    SampleMap changed = sample();
    changed.settings.limitRpm = QStringLiteral("9000");
    changed.table.setCell(2, 3, QStringLiteral("7,5"));
    changed.table.setCell(1, 0, QStringLiteral("x"));
    tool.writeMap("a.qmt", p, sample());
    tool.writeMap("b.qmt", p, changed);
    tool.writeMap("same.qmt", p, sample());
    const auto differ = tool.run({"diff", "a.qmt", "b.qmt"});
    EXPECT_EQ(differ.exitCode, 1);
    EXPECT_EQ(differ.outText(), "Határolási ford. szám: \"12000\" -> \"9000\"\n"
                                "heading of map column 1: \"0.00\" -> \"x\"\n"
                                "map column 2, rpm row 3: \"2\" -> \"7,5\"\n");
    const auto same = tool.run({"diff", "a.qmt", "same.qmt"});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_TRUE(same.out.isEmpty());

    const VariantProfile& other = *profiles::all().at((profiles::all().indexOf(&p) + 1) % 3);
    tool.writeMap("other.qmt", other, test::SampleMap(other));
    const auto mixed = tool.run({"diff", "a.qmt", "other.qmt"});
    EXPECT_EQ(mixed.exitCode, 2);
    EXPECT_TRUE(mixed.errText().contains("other.qmt")) << mixed.errText().toStdString();
}

TEST_P(Tool, ExportWritesTheMapForASpreadsheet) {
    const VariantProfile& p = profile();
    SampleMap map = sample();
    map.table.setCell(1, 1, QStringLiteral("a;b"));
    map.table.setCell(2, 1, QStringLiteral("\"q\""));
    tool.writeMap("map.qmt", p, map);
    ASSERT_EQ(tool.run({"export", "map.qmt", "-o", "map.csv"}).exitCode, 0);

    QByteArray expected =
        "Hengerek sz\xE1ma;4\r\nHat\xE1rol\xE1si ford. sz\xE1m;12000\r\n"
        "Nyit\xE1s (ms/vez\xE9rl\xE9si m\xF3"
        "d);1,5\r\n"
        "Z\xE1r\xE1s (ms/z\xE1r\xE1si sz\xF6g(fok));3\r\n"
        "Bemeneti polarit\xE1s;Felfut\xF3\r\nKimeneti polarit\xE1s;Lefut\xF3\r\n\r\n";
    expected += p.mapColumns == 8 ? ";0.00;2.10;2.40;2.70;3.00;3.30;3.60;3.90\r\n"
                                  : ";0.00;2.40;3.00;3.60\r\n";
    for (int row = 1; row <= p.rpmRows; ++row) {
        expected += QByteArray::number(p.rpmRows == 60 ? 150 * row + 500 : 250 * row + 350);
        for (int column = 1; column <= p.mapColumns; ++column)
            expected += ';' + (row > 1 || column > 2 ? QByteArray::number(column)
                               : column == 1         ? QByteArray("\"a;b\"")
                                                     : QByteArray("\"\"\"q\"\"\""));
        expected += "\r\n";
    }
    EXPECT_EQ(test::readBytes(tool.path("map.csv")), expected);
    EXPECT_EQ(tool.run({"export", "map.qmt"}).out, expected);

    // An output that cannot be written leaves nothing behind and the old file as it was.
    QDir(tool.path(".")).mkdir("folder.csv");
    for (const char* target : {"nowhere/map.csv", "folder.csv"}) {
        const auto failed = tool.run({"export", "map.qmt", "-o", target});
        EXPECT_EQ(failed.exitCode, 2);
        EXPECT_TRUE(failed.errText().contains(target));
    }
    EXPECT_FALSE(QFile::exists(tool.path("nowhere")));
    EXPECT_EQ(QDir(tool.path(".")).entryList(QDir::Files).size(), 2); // map.qmt, map.csv
}

INSTANTIATE_TEST_SUITE_P(Programs, Tool, ::testing::ValuesIn(profiles::all()),
                         [](const auto& info) { return info.param->programName.toStdString(); });

// Files that are no map of any program: one line on standard error naming the file, exit 2,
// nothing on standard output, for every command that reads a map.
TEST(ToolBadInput, FilesThatAreNoMaps) {
    ToolRunner tool;
    QDir(tool.path(".")).mkdir("folder.qmt");
    test::writeBytes(tool.path("empty.qmt"), "");
    test::writeBytes(tool.path("magic.qmt"), "qmt5\r\n4\r\n");
    test::writeBytes(tool.path("junk.qmt"), QByteArray("\x00\xFF\xFEqmt8\x81\n\x00", 9));
    tool.writeMap("good.qmt", profiles::zerwa8(), test::SampleMap(profiles::zerwa8()));
    const struct {
        const char* file;
        const char* message;
    } files[] = {{"missing.qmt", "Nem tudom megnyitni az állományt! missing.qmt"},
                 {"folder.qmt", "Nem tudom megnyitni az állományt! folder.qmt"},
                 {"empty.qmt", "empty.qmt: Nem megfelelő adatállomány!"},
                 {"magic.qmt", "magic.qmt: Nem megfelelő adatállomány!"},
                 {"junk.qmt", "junk.qmt: Nem megfelelő adatállomány!"}};
    for (const auto& [file, message] : files) {
        for (const QStringList& arguments : {QStringList{"check"},
                                             {"frame"},
                                             {"export"},
                                             {"send", "--port", "/dev/null"},
                                             {"diff", "good.qmt"}}) {
            const auto result = tool.run(arguments + QStringList{file});
            EXPECT_EQ(result.exitCode, 2) << file << " " << arguments.first().toStdString();
            EXPECT_TRUE(result.out.isEmpty()) << file;
            EXPECT_EQ(result.errText(), QString::fromUtf8(message) + u'\n') << file;
        }
    }
}

TEST(ToolBadInput, WrongCommandLinesAndHelp) {
    ToolRunner tool;
    for (const QStringList& arguments : {QStringList{},
                                         {"nosuch"},
                                         {"check"},
                                         {"frame", "a", "--format", "pdf"},
                                         {"decode", "a", "--variant", "zerwa9"},
                                         {"check", "--decimal", ";", "a"}}) {
        const auto result = tool.run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
    }
    const auto help = tool.run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"check", "frame", "diff", "export", "send", "listen", "decode"})
        EXPECT_TRUE(help.outText().contains(QStringLiteral("zerwa %1 [options]").arg(command)));
}

} // namespace
