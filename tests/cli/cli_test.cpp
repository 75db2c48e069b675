// SPDX-License-Identifier: GPL-3.0-or-later
// The tool driven as a user drives it, on maps the tests write: outputs and exit codes. And
// captured frames and wire images as decode and listen read them: where the first fault is.
#include "cli/capture.h"
#include "cli/framereading.h"
#include "toolrunner.h"

#include <QDir>

#include <random>
#include <unistd.h>

using namespace zerwa;
using namespace zerwa::cli;
using test::gives;
using test::SampleMap;

namespace {

const QString kRefused = QStringLiteral("Hiba az adattáblán! Kérem ellenőrizze az adatokat! [");

class Tool : public test::ToolTest {};

// check and frame refuse a map naming the value; diff names every difference.
TEST_P(Tool, CheckFrameAndDiffNameTheValue) {
    SampleMap changed(profile), badCylinders(profile), badPolarity(profile);
    changed.settings.limitRpm = QStringLiteral("9000");
    changed.table.setCell(2, 3, QStringLiteral("abc"));
    changed.table.setCell(1, 0, QStringLiteral("x")); // headings are not sent
    badCylinders.settings.cylinders = f.cylinders.contains("1") ? "7" : "1"; // on no list
    badPolarity.settings.inputPolarity = QStringLiteral("Emelkedő");         // on no list
    write("a.qmt", SampleMap(profile));
    write("b.qmt", changed);
    write("c.qmt", badCylinders);
    write("d.qmt", badPolarity);
    const QString place = QStringLiteral("map column 2 (%1), rpm row 3 (%2): \"abc\"]\n")
                              .arg(f.headings.at(1))
                              .arg(f.defaultRpm(3));
    EXPECT_EQ(tool.run({"check", "--decimal", ",", "a.qmt", "b.qmt", "c.qmt", "d.qmt"}),
              gives(1, "a.qmt: OK\nb.qmt: " + kRefused + place + "c.qmt: " + kRefused +
                           "Hengerek száma: \"\"]\nd.qmt: " + kRefused +
                           "Bemeneti polaritás: \"\"]\n"));
    EXPECT_EQ(tool.run({"check", "--decimal", ",", "a.qmt"}), gives(0, "a.qmt: OK\n"));
    // With a point as the separator the sample's "1,5" is no number, and the tool says why.
    EXPECT_EQ(tool.run({"check", "--decimal", ".", "a.qmt"}),
              gives(1, "a.qmt: " + kRefused +
                           "Nyitás (ms/vezérlési mód): \"1,5\"] (read with \".\" as the decimal "
                           "separator; the value is valid with --decimal ,)\n"));
    EXPECT_EQ(tool.run({"check", "--decimal", ",", "a.qmt", "nincs.qmt"}),
              gives(2, "a.qmt: OK\n", "Nem tudom megnyitni az állományt! nincs.qmt\n"));
    EXPECT_EQ(tool.run({"frame", "c.qmt", "--decimal", ","}),
              gives(1, "", "c.qmt: " + kRefused + "Hengerek száma: \"\"]\n"));

    EXPECT_EQ(tool.run({"diff", "a.qmt", "b.qmt"}),
              gives(1, "Határolási ford. szám: \"12000\" -> \"9000\"\n"
                       "heading of map column 1: \"0.00\" -> \"x\"\n"
                       "map column 2, rpm row 3: \"2\" -> \"abc\"\n"));
    EXPECT_EQ(tool.run({"diff", "a.qmt", "a.qmt"}), gives(0, ""));
    const VariantProfile& other = test::programFacts().at(f.frameLength == 247 ? 0 : 2).profile();
    tool.writeMap("other.qmt", other, SampleMap(other));
    const auto mixed = tool.run({"diff", "a.qmt", "other.qmt"});
    EXPECT_EQ(mixed.exitCode, 2);
    EXPECT_TRUE(mixed.errText().contains("other.qmt") && mixed.out.isEmpty()) << mixed.errText();
}

// The worked example's frame as raw bytes, wire image and hex dump; then a map with exact and
// endless scaled values explained byte by byte.
TEST_P(Tool, FrameGivesTheDocumentedBytes) {
    SampleMap map = SampleMap(profile).fill("10");
    write("map.qmt", map);
    const QByteArray frame = test::workedExampleFrame(f.frameLength);
    EXPECT_EQ(tool.run({"frame", "map.qmt", "--format", "raw", "--decimal", ","}),
              (test::ToolResult{0, frame, {}}));
    EXPECT_EQ(tool.run({"frame", "map.qmt", "--wire", "--format", "raw", "--decimal", ","}),
              (test::ToolResult{0, test::wireOf(frame), {}}));
    const auto hex = tool.run({"frame", "map.qmt", "--wire", "--decimal", ","});
    EXPECT_TRUE(hex.out.startsWith("83 FF FF 07 FF FF 35 FF FF 14 FF FF"));
    EXPECT_EQ(QByteArray::fromHex(hex.out), test::wireOf(frame));
    EXPECT_EQ(hex.out.count('\n'), (frame.size() * 3 + 15) / 16); // 16 bytes a line

    map.settings.closing = QStringLiteral("1,2288"); // exactly 3 steps of 0.4096 ms
    map.settings.limitRpm = QStringLiteral("7000");  // 5357.142857..., no end
    write("map.qmt", map);
    const auto explain = tool.run({"frame", "map.qmt", "--format", "explain", "--decimal", ","});
    EXPECT_EQ(explain.exitCode, 0);
    const QStringList lines = explain.outText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), f.frameLength);
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines.at(i).simplified().section(u' ', 0, 0).toInt(), i) << lines.at(i);
    for (int row = 1; row <= f.rpmRows; ++row)
        for (int column = 1; column <= f.mapColumns; ++column)
            EXPECT_TRUE(
                lines.at(test::frameIndexOf(f, column, row))
                    .contains(QStringLiteral("map column %1, rpm row %2 ").arg(column).arg(row)))
                << column << ' ' << row;
    // Apart from the spaces that align the columns:
    const QString settings[] = {
        "0 mode \"Felfutó\" \"Lefutó\" 3 + 128 + 0 = 131 0x83",
        "1 closing (ms) \"1,2288\" × 625/256 = 3 0x03",
        "2 limit period, low byte \"7000\" 37500000 / rpm = 5357,142857142… 0xED",
        "63 constant 0x0C",
        "64 opening (ms) \"1,5\" × 625/16 = 58,59375 0x3A",
        "65 limit period, high byte \"7000\" 37500000 / rpm = 5357,142857142… 0x14",
        QString::number(f.frameLength - 1) + " cylinders \"4\" 4 × 16 + 15 = 79 0x4F"};
    for (const QString& line : settings)
        EXPECT_EQ(lines.at(line.section(u' ', 0, 0).toInt()).simplified(), line);
}

TEST_P(Tool, ExportWritesTheMapForASpreadsheet) {
    SampleMap map(profile);
    map.table.setCell(1, 1, QStringLiteral("a;b"));
    map.table.setCell(2, 1, QStringLiteral("\"q\""));
    write("map.qmt", map);
    QByteArray csv =
        "Hengerek sz\xE1ma;4\r\nHat\xE1rol\xE1si ford. sz\xE1m;12000\r\n"
        "Nyit\xE1s (ms/vez\xE9rl\xE9si m\xF3"
        "d);1,5\r\nZ\xE1r\xE1s (ms/z\xE1r\xE1si sz\xF6g(fok));3\r\n"
        "Bemeneti polarit\xE1s;Felfut\xF3\r\nKimeneti polarit\xE1s;Lefut\xF3\r\n\r\n;" +
        f.headings.join(u';').toLatin1() + "\r\n";
    for (int row = 1; row <= f.rpmRows; ++row) {
        csv += QByteArray::number(f.defaultRpm(row));
        for (int column = 1; column <= f.mapColumns; ++column)
            csv += ';' + (row > 1 || column > 2 ? QByteArray::number(column)
                          : column == 1         ? QByteArray("\"a;b\"")
                                                : QByteArray("\"\"\"q\"\"\""));
        csv += "\r\n";
    }
    EXPECT_EQ(tool.run({"export", "map.qmt"}), (test::ToolResult{0, csv, {}}));
    EXPECT_EQ(tool.run({"export", "map.qmt", "-o", "map.csv"}), gives(0, ""));
    EXPECT_EQ(test::readBytes(tool.path("map.csv")), csv);
    // An output that cannot be written leaves nothing behind.
    QDir(tool.path(".")).mkdir("folder.csv");
    for (const char* target : {"nowhere/map.csv", "folder.csv"}) {
        const auto failed = tool.run({"export", "map.qmt", "-o", target});
        EXPECT_EQ(failed.exitCode, 2);
        EXPECT_TRUE(failed.errText().contains(target) && failed.err.count('\n') == 1);
    }
    EXPECT_EQ(QDir(tool.path(".")).entryList(QDir::Files), QStringList({"map.csv", "map.qmt"}));

    // An output that is the map itself, by any name, is refused before anything is written.
    const QByteArray original = test::readBytes(tool.path("map.qmt"));
    ASSERT_TRUE(QFile::link("map.qmt", tool.path("link.csv")));
    ASSERT_EQ(::link(qPrintable(tool.path("map.qmt")), qPrintable(tool.path("hard.csv"))), 0);
    for (const char* target : {"map.qmt", "./map.qmt", "link.csv", "hard.csv"}) {
        const auto refused = tool.run({"export", "map.qmt", "-o", target});
        EXPECT_EQ(refused.exitCode, 2) << target;
        EXPECT_TRUE(refused.errText().contains(target) && refused.err.count('\n') == 1);
    }
    QProcess appending; // zerwa check map.qmt >> map.qmt
    appending.setStandardOutputFile(tool.path("map.qmt"), QIODevice::Append);
    tool.start(appending, {"check", "map.qmt"});
    ASSERT_TRUE(appending.waitForFinished());
    EXPECT_EQ(appending.exitCode(), 2);
    EXPECT_EQ(test::readBytes(tool.path("map.qmt")), original);
}

INSTANTIATE_TEST_SUITE_P(Programs, Tool, ::testing::ValuesIn(test::programFacts()),
                         test::programName);

// Wrong command lines and files that are no map: exit 2, nothing on standard output and one
// line on standard error (for a file, its own message naming it).
TEST(ToolBadInput, WrongCommandLinesAndFilesThatAreNoMaps) {
    test::ToolRunner tool;
    QDir(tool.path(".")).mkdir("folder.qmt");
    test::writeBytes(tool.path("empty.qmt"), "");
    test::writeBytes(tool.path("magic.qmt"), "qmt5\r\n4\r\n");
    test::writeBytes(tool.path("junk.qmt"), QByteArray("\x00\xFF\xFEqmt8\x81\n\x00", 9));
    tool.writeMap("good.qmt", profiles::zerwa8(), SampleMap(profiles::zerwa8()));
    for (const char* line : {"", "nosuch", "check", "frame a --format pdf",
                             "decode a --variant zerwa9", "check --decimal ; a"}) {
        const auto result = tool.run(QString(line).split(u' ', Qt::SkipEmptyParts));
        EXPECT_EQ(result.exitCode, 2) << line;
        EXPECT_TRUE(result.out.isEmpty() && result.err.count('\n') == 1) << line;
    }
    const QStringList files = {"missing.qmt", "folder.qmt", "empty.qmt", "magic.qmt", "junk.qmt"};
    for (const QString& file : files) {
        const QString message = files.indexOf(file) < 2
                                    ? "Nem tudom megnyitni az állományt! " + file + '\n'
                                    : file + ": Nem megfelelő adatállomány!\n";
        for (const char* command :
             {"check", "frame", "export", "send --port /dev/null", "diff good.qmt"})
            EXPECT_EQ(tool.run(QString(command).split(u' ') << file), gives(2, "", message));
    }
    EXPECT_EQ(tool.run({"decode", "good.qmt"}),
              gives(2, "",
                    "good.qmt is a zerwa8 map file, not a capture; zerwa frame good.qmt "
                    "--wire shows the wire image it gives\n"));
    EXPECT_EQ(tool.run({"--version"}), gives(0, "zerwa " ZERWA_VERSION "\n"));
    const auto help = tool.run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"check", "frame", "diff", "export", "send", "listen", "decode"})
        EXPECT_TRUE(help.outText().contains(QStringLiteral("zerwa %1 [options]").arg(command)));
}

// The first fault of a capture, or -1 when it holds a well-formed frame, -2 when it could be
// either program's.
qsizetype firstFault(const QByteArray& bytes, const VariantProfile* variant) {
    const Capture capture = readCapture(bytes, variant);
    if (capture.fault)
        return capture.fault->offset;
    if (!capture.profile)
        return -2;
    const auto fault = findFrameFault(*capture.profile, capture.frame);
    return fault ? captureOffset(capture, fault->index) : -1;
}

const VariantProfile* const z8 = &profiles::zerwa8();
const VariantProfile* const z4 = &profiles::zerwa4();

// The worked example's frame or wire image (zerwa4_60's when no program is named), cut or
// filled with FF to `size` unless it is -1, and with `value` at `at` unless that is -1.
struct FaultCase {
    const char* name;
    const VariantProfile* variant;
    bool wire;
    int size, at, value;
    qsizetype offset;
};

const FaultCase kFaultCases[] = {
    {"WellFormedWire", z4, true, -1, -1, 0, -1},
    {"WellFormedFrame", z8, false, -1, -1, 0, -1},
    {"LongFrameNeedsNoVariant", nullptr, true, -1, -1, 0, -1},
    {"ShortFrameIsAmbiguous", nullptr, false, 127, -1, 0, -2},
    {"BrokenUnit", z4, true, -1, 4, 0xFE, 4},
    {"BrokenLastUnit", z8, true, -1, 380, 0x00, 380},
    {"WireEndsEarly", z4, true, 380, -1, 0, 380},
    {"WireRunsOn", z4, true, 384, -1, 0, 381},
    {"BreakBeforeLengthFault", z4, true, 300, 7, 0x00, 7},
    {"LongWireCutShort", nullptr, true, 600, -1, 0, 600},
    {"EmptyCapture", z4, true, 0, -1, 0, 0},
    {"ModeByte", z8, true, -1, 0, 0x13, 0},
    {"ClosingOutOfRange", z4, false, -1, 1, 25, 1}, // 25 steps > 10 ms
    {"CellZero", z8, true, -1, 9, 0x00, 9},
    {"CellAbove7F", z4, false, -1, 70, 0x80, 70},
    {"ConstantByte", z4, true, -1, 189, 0x0D, 189},
    {"OpeningOutOfRange", z4, false, -1, 64, 79, 64},
    {"LimitPeriodTooShort", z4, false, -1, 65, 0x09, 2}, // 0x0935 < 2500, judged at the low byte
    {"CylinderLowNibble", z4, true, -1, 378, 0x40, 378},
    {"SevenCylinders", z8, false, -1, 126, 0x7F, 126},
    {"OneCylinderInZerwa4_60", nullptr, false, -1, 246, 0x1F, 246},
};

TEST(Capture, FaultsAreFoundAtTheirOffset) {
    for (const FaultCase& c : kFaultCases) {
        const VariantProfile& p = c.variant ? *c.variant : profiles::zerwa4_60();
        const QByteArray frame = test::workedExampleFrame(p.frameLength);
        QByteArray bytes = c.wire ? test::wireOf(frame) : frame;
        if (c.size >= 0)
            bytes.resize(c.size, char(0xFF));
        if (c.at >= 0)
            bytes[c.at] = char(c.value);
        EXPECT_EQ(firstFault(bytes, c.variant), c.offset) << c.name;
    }
}

// Two downloads captured in a row, with or without the NUL of the second one's break: the
// fault stands where the second begins, at the end of the first wire image.
TEST(Capture, ASecondDownloadIsFoundWhereItBegins) {
    for (const VariantProfile* p : profiles::all()) {
        const QByteArray wire = test::wireOf(test::workedExampleFrame(p->frameLength));
        for (const QByteArray& between : {QByteArray(), QByteArray(1, '\0')}) {
            for (const VariantProfile* variant : {p, (const VariantProfile*)nullptr}) {
                const Capture capture = readCapture(wire + between + wire.left(100), variant);
                ASSERT_TRUE(capture.fault) << p->programName.toStdString();
                EXPECT_EQ(capture.fault->offset, wire.size());
                EXPECT_TRUE(capture.fault->what.startsWith("a second download begins here"));
            }
        }
    }
}

TEST(CaptureFuzz, RandomBytesGiveTheirFirstFault) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int round = 0; round < 3000; ++round) {
        const VariantProfile* p = profiles::all().at(pick(3));
        const QByteArray wire = test::wireOf(test::workedExampleFrame(p->frameLength));
        QByteArray bytes;
        if (pick(2)) {
            // One byte of a well-formed image changed: a fault, if any, is that byte's (the
            // limit period's, at frame indices 2 and 65, at its low byte; an opening byte of 0
            // is control mode, where the closing byte 07 at index 1 is too small an angle).
            bytes = wire;
            const int at = pick(int(bytes.size()));
            bytes[at] = char(bytes.at(at) ^ (1 + pick(255)));
            const qsizetype offset = firstFault(bytes, p);
            const int faultAt = at == 65 * 3                        ? 2 * 3
                                : at == 64 * 3 && bytes.at(at) == 0 ? 1 * 3
                                                                    : at;
            if (at % 3 != 0 || offset >= 0) {
                ASSERT_EQ(offset, faultAt) << bytes.toHex().toStdString();
            }
        } else {
            const int size = pick(3) == 0 ? int(wire.size()) : pick(900);
            for (int i = 0; i < size; ++i)
                bytes += char(i % 3 && pick(4) ? 0xFF : pick(256));
            ASSERT_LE(firstFault(bytes, pick(2) ? p : nullptr), bytes.size());
            const Capture capture = readCapture(bytes, p);
            if (!capture.fault)
                describeFrame(*capture.profile, capture.frame, u','); // never crashes
        }
    }
}

} // namespace
