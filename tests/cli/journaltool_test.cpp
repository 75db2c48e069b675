// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of zerwa send, and zerwa journal reading it.
#include "core/journal/journal.h"
#include "core/support/pseudoterminal.h"
#include "core/support/samplerecord.h"
#include "toolrunner.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace zerwa;
using test::gives;
using test::SampleMap;

namespace {

// What a send gave, and what the line carried.
struct Sent {
    test::ToolResult result;
    QByteArray received;
};

Sent send(const test::ToolRunner& tool, test::PseudoTerminal& line, const QString& decimal = ",") {
    QProcess sending;
    tool.start(sending, {"send", "map.qmt", "--port", line.slavePath(), "--decimal", decimal});
    QByteArray received;
    while (sending.state() != QProcess::NotRunning && !sending.waitForFinished(5))
        received += line.readAvailable();
    received += line.readWithEvents(1, 100);
    return {{sending.exitCode(), sending.readAllStandardOutput(), sending.readAllStandardError()},
            received};
}

class ToolJournal : public test::ToolTest {};

// The record holds the bytes the line carried and the map file as it was; list, show, note,
// wire, export and find read it back.
TEST_P(ToolJournal, SendIsRecordedAndTheJournalCommandsReadIt) {
    SampleMap map = SampleMap(profile).fill("10");
    map.settings.opening = "1.5";
    write("map.qmt", map);
    test::PseudoTerminal line;
    const Sent sent = send(tool, line, ".");
    ASSERT_EQ(sent.result, gives(0, "A letöltés befejezve!\n"));
    ASSERT_EQ(sent.received, test::wireOf(test::workedExampleFrame(f.frameLength)));
    const QString note = QStringLiteral("Kovács \"ABC\\123\"");
    EXPECT_EQ(tool.run({"journal", "note", "last", note}), gives(0, ""));

    const auto json = tool.run({"journal", "list", "--json"});
    const QJsonArray array = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(array.size(), 1) << json.outText();
    const QString id = array.at(0)["id"].toString(), time = array.at(0)["time"].toString();
    const QString file = QFileInfo(tool.path("map.qmt")).absoluteFilePath();
    const QString hash =
        QCryptographicHash::hash(sent.received, QCryptographicHash::Sha256).toHex();
    EXPECT_EQ(array.at(0)["note"].toString(), note);
    EXPECT_EQ(json.outText(), QStringLiteral("[\n  {\"id\": \"%1\", \"time\": \"%2\", \"program\": "
                                             "\"%3\", \"port\": \"%4\", \"device\": \"%4\", "
                                             "\"file\": \"%5\", \"outcome\": \"delivered\", "
                                             "\"sha256\": \"%6\", \"bytes\": %7, \"note\": "
                                             "\"Kovács \\\"ABC\\\\123\\\"\"}\n]\n")
                                  .arg(id, time, f.name, line.slavePath(), file, hash)
                                  .arg(f.frameLength * 3));
    EXPECT_EQ(tool.run({"journal", "list", "--port", line.slavePath()}),
              gives(0, QStringList{id, time, f.name, line.slavePath(), "delivered", hash.left(8),
                                   file, note}
                               .join("  ") +
                           '\n'));
    EXPECT_EQ(tool.run({"journal", "list", "--since", "2999-01-01"}), gives(0, ""));
    EXPECT_EQ(tool.run({"journal", "show", id}).outText().split('\n').mid(6, 6),
              QStringList({"outcome          delivered: every unit was written and left the line",
                           "sha256           " + hash,
                           "bytes            " + QString::number(f.frameLength * 3),
                           "note             " + note, "decimal          .",
                           QStringLiteral("map              %1 bytes, as the program saves it")
                               .arg(test::readBytes(tool.path("map.qmt")).size())}));

    EXPECT_EQ(tool.run({"journal", "wire", id, "-o", "wire.bin"}), gives(0, ""));
    EXPECT_EQ(test::readBytes(tool.path("wire.bin")), sent.received);
    EXPECT_EQ(tool.run({"journal", "export", "last", "-o", "back.qmt"}), gives(0, ""));
    EXPECT_EQ(test::readBytes(tool.path("back.qmt")), test::readBytes(tool.path("map.qmt")));
    test::writeBytes(tool.path("frame.bin"), test::workedExampleFrame(f.frameLength));
    for (const char* capture : {"wire.bin", "frame.bin"})
        EXPECT_EQ(tool.run({"journal", "find", capture}), gives(0, id + '\n'));
    test::writeBytes(tool.path("other.bin"), test::wireOf(QByteArray(f.frameLength, 0x10)));
    EXPECT_EQ(tool.run({"journal", "find", "other.bin"}).exitCode, 1);
}

INSTANTIATE_TEST_SUITE_P(Programs, ToolJournal, ::testing::ValuesIn(test::programFacts()),
                         test::programName);

// A journal folder that cannot take the record: every byte goes out all the same, and the
// tool says so and ends with 3. No folder named at all: the journal cannot be read.
TEST(ToolJournalFolder, ARecordThatCannotBeWrittenStopsNothing) {
    test::ToolRunner tool;
    tool.writeMap("map.qmt", profiles::zerwa4(), SampleMap(profiles::zerwa4()));
    test::writeBytes(tool.path("journal"), "a file");
    test::PseudoTerminal line;
    const Sent sent = send(tool, line);
    EXPECT_EQ(sent.result,
              gives(3, "A letöltés befejezve!\n",
                    "zerwa: the journal record of this send was not written: the journal folder " +
                        tool.path("journal") + " is not a folder\n"));
    EXPECT_EQ(sent.received.size(), 381);
    for (const char* name : {"ZERWA_JOURNAL_DIR", "XDG_DATA_HOME", "HOME"})
        tool.environment.remove(name);
    EXPECT_EQ(tool.run({"journal", "list"}),
              gives(2, "",
                    "zerwa: no journal folder: none of ZERWA_JOURNAL_DIR, XDG_DATA_HOME "
                    "and HOME is set\n"));
}

// Files that are not whole records are skipped with a word on standard error and never
// written; a map that a map file cannot hold is not exported; wrong command lines.
TEST(ToolJournalFolder, DamagedFilesAndWrongCommandLines) {
    test::ToolRunner tool;
    const Journal journal(tool.path("journal"));
    const QString id = journal.create(test::sampleRecord(profiles::zerwa8())).id;
    // A heading that Windows-1250 cannot carry (a record keeps such a map in UTF-8).
    JournalRecord utf8 = test::sampleRecord(profiles::zerwa8(), QStringLiteral("0,00 √\\\n"));
    utf8.summary.time = utf8.summary.time.addSecs(-60);
    const QString utf8Id = journal.create(utf8).id;
    QByteArray cut = test::readBytes(journal.pathOf(id));
    cut.chop(100);
    test::writeBytes(journal.pathOf("cut"), cut);
    const QString cutPath = tool.path("journal/cut");

    const auto listed = tool.run({"journal", "list"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out.count('\n'), 2);
    EXPECT_EQ(listed.errText(),
              "zerwa: skipped " + cutPath +
                  ": damaged: the map or the wire image is cut off or malformed\n");
    EXPECT_EQ(tool.run({"journal", "note", "cut", "x"}),
              gives(2, "",
                    "zerwa: " + cutPath +
                        " is damaged: the map or the wire image is cut off or "
                        "malformed\n"));
    EXPECT_EQ(test::readBytes(cutPath), cut);
    EXPECT_EQ(tool.run({"journal", "export", utf8Id}),
              gives(1, "",
                    "zerwa: the map of " + utf8Id +
                        " holds a text that Windows-1250 "
                        "cannot carry, so it is not written as a map file\n"));
    EXPECT_EQ(tool.run({"journal", "show", "--program", "zerwa4", "last"}).exitCode, 2);
    EXPECT_EQ(tool.run({"journal", "show", ".index"}),
              gives(2, "", "zerwa: no journal record " + tool.path("journal/.index") + '\n'));
    for (const QStringList& wrong : {QStringList{"journal"},
                                     {"journal", "erase", id},
                                     {"journal", "show"},
                                     {"journal", "show", id, "--json"},
                                     {"journal", "list", "--program", "zerwa9"},
                                     {"journal", "list", "--since", "tegnap"},
                                     {"journal", "note", id, "-o", "x"}}) {
        const auto refused = tool.run(wrong);
        EXPECT_EQ(refused.exitCode, 2) << wrong.join(' ').toStdString();
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.errText();
    }
}

} // namespace
