// SPDX-License-Identifier: GPL-3.0-or-later
// The tool on the line: send into a pseudo-terminal, listen on another, and the frame read
// back by decode; the journal of zerwa send, and zerwa journal reading it.
#include "core/journal/journal.h"
#include "core/link/qtserialport.h"
#include "core/support/pseudoterminal.h"
#include "core/support/samplerecord.h"
#include "toolrunner.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <sys/ioctl.h>

#include <random>

using namespace zerwa;
using test::gives;
using test::PseudoTerminal;
using test::SampleMap;

namespace {

constexpr int kWaitMs = 15000;

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

class ToolOnTheLine : public test::ToolTest {
protected:
    // What decode and listen print for the worked example's frame.
    QString workedExampleReport() const {
        QString text =
            QStringLiteral("%1 frame, %2 bytes (wire image of %3 bytes)\n"
                           "mode 0x83: input polarity Felfutó, output polarity Lefutó\n"
                           "opening 0x3A: 1,4848 <= ms < 1,5104\n"
                           "closing 0x07: 2,8672 <= ms < 3,2768\n"
                           "limit period 0x0C35 = 3125: 11996,161228406… < rpm <= 12000\n"
                           "cylinders 0x4F: 4\n"
                           "cells (byte / 2), map columns 1 to %4 from left to right:\n")
                .arg(f.name)
                .arg(f.frameLength)
                .arg(f.frameLength * 3)
                .arg(f.mapColumns);
        for (int row = 1; row <= f.rpmRows; ++row)
            text += QStringLiteral("rpm row %1:").arg(row, 2) +
                    QString("   10").repeated(f.mapColumns) + u'\n';
        return text;
    }
};

// send by port number (the COMn entry in the current folder) and by device path: the break,
// then exactly the wire image; listen --once on the far end of the cable (its COM4) prints the
// frame.
TEST_P(ToolOnTheLine, SendDeliversTheWireImageAndListenReadsIt) {
    write("map.qmt", SampleMap(profile).fill("10"));
    const QByteArray wire = test::wireOf(test::workedExampleFrame(f.frameLength));
    PseudoTerminal line, device;
    ASSERT_TRUE(line.isValid() && device.isValid());
    ASSERT_TRUE(QFile::link(line.slavePath(), tool.path("COM3")));
    ASSERT_TRUE(QFile::link(device.slavePath(), tool.path("COM4")));
    QProcess listener;
    tool.start(listener,
               {"listen", "--port", "4", "--variant", f.name, "--once", "--decimal", ","});
    listener.setReadChannel(QProcess::StandardError);
    ASSERT_TRUE(listener.waitForReadyRead(kWaitMs)); // it says so once it listens
    ASSERT_TRUE(listener.readAllStandardError().contains("listening"));
    for (const QString& port : {QStringLiteral("3"), line.slavePath()}) {
        QProcess sending;
        QElapsedTimer clock;
        clock.start();
        tool.start(sending, {"send", "map.qmt", "--port", port, "--decimal", ","});
        QByteArray received;
        qint64 firstByteMs = -1;
        while (sending.state() != QProcess::NotRunning && clock.elapsed() < kWaitMs) {
            sending.waitForFinished(5);
            const QByteArray bytes = line.readAvailable();
            if (firstByteMs < 0 && !bytes.isEmpty())
                firstByteMs = clock.elapsed();
            if (port == u"3") {
                EXPECT_TRUE(device.write(bytes)); // the cable to the listening device
            }
            received += bytes;
        }
        EXPECT_EQ(sending.exitCode(), 0) << sending.readAllStandardError().toStdString();
        EXPECT_EQ(sending.readAllStandardOutput(), "A letöltés befejezve!\n");
        EXPECT_EQ(received + line.readWithEvents(1, 100), wire); // and nothing after it
        EXPECT_GE(firstByteMs, 450);                             // after the break
    }
    listener.waitForFinished(kWaitMs); // false when it has already ended
    ASSERT_EQ(listener.state(), QProcess::NotRunning);
    EXPECT_EQ(listener.exitCode(), 0) << listener.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(listener.readAllStandardOutput()), workedExampleReport() + u'\n');
}

// A map that fails the check is refused before the port is looked at: exit 1 even for a port
// that is missing or busy. A port that is missing or busy is named: exit 2. Nothing is sent.
TEST(ToolPort, ABadMapOrPortSendsNothing) {
    test::ToolRunner tool;
    const VariantProfile& profile = profiles::zerwa4_60();
    SampleMap bad(profile);
    bad.table.setCell(1, 60, QStringLiteral("64")); // above 63,5
    tool.writeMap("bad.qmt", profile, bad);
    tool.writeMap("map.qmt", profile, SampleMap(profile));
    PseudoTerminal pty;
    QProcess holder; // another program has the port open
    tool.start(holder, {"listen", "--port", pty.slavePath(), "--variant", "zerwa4_60"});
    holder.setReadChannel(QProcess::StandardError);
    ASSERT_TRUE(holder.waitForReadyRead(kWaitMs));
    for (const QString& port : {QStringLiteral("/dev/zerwa-nincs"), pty.slavePath()}) {
        for (const QStringList& options : {QStringList{"--decimal", ","}, {"--dry-run"}}) {
            const auto refused = tool.run(QStringList{"send", "bad.qmt", "--port", port} + options);
            EXPECT_EQ(refused.exitCode, 1);
            EXPECT_TRUE(refused.errText().contains("Hiba az adattáblán!")) << refused.errText();
        }
        for (const char* command : {"send map.qmt --decimal ,", "listen --variant zerwa4"}) {
            const auto result = tool.run(QString(command).split(u' ') << "--port" << port);
            EXPECT_EQ(result.exitCode, 2);
            EXPECT_TRUE(result.out.isEmpty());
            EXPECT_EQ(result.err.count('\n'), 1);
            EXPECT_TRUE(result.errText().contains(port)) << result.errText();
        }
    }
    EXPECT_TRUE(pty.readWithEvents(1, 200).isEmpty());
    holder.kill();
    holder.waitForFinished();
}

// SIGINT, SIGTERM or SIGHUP to send during its break or to listen: the tool ends with 128 + the
// signal, nothing of the frame is sent, and the port is free again at once: exclusive mode
// off, no lock left, no lock file.
TEST(ToolPort, ASignalClosesThePort) {
    test::ToolRunner tool;
    tool.writeMap("map.qmt", profiles::zerwa8(), SampleMap(profiles::zerwa8()));
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (const char* command : {"send map.qmt --decimal ,", "listen --variant zerwa8"}) {
            PseudoTerminal pty;
            const int handle = ::open(qPrintable(pty.slavePath()), O_RDWR | O_NOCTTY | O_NONBLOCK);
            auto exclusive = [handle] {
                int on = 0;
                return ::ioctl(handle, TIOCGEXCL, &on) == 0 && on;
            };
            QProcess process;
            tool.start(process, QString(command).split(u' ') << "--port" << pty.slavePath());
            QElapsedTimer clock;
            clock.start();
            while (!exclusive() && clock.elapsed() < kWaitMs)
                QThread::msleep(2);
            ASSERT_TRUE(exclusive()) << command;
            ::kill(pid_t(process.processId()), signal);
            ASSERT_TRUE(process.waitForFinished(kWaitMs));
            EXPECT_EQ(process.exitCode(), 128 + signal) << command;
            EXPECT_FALSE(exclusive());
            EXPECT_FALSE(pty.readAvailable().contains('\xFF'));
            const QString lockFile = "/var/lock/LCK.." + pty.slavePath().mid(5).replace('/', '_');
            EXPECT_FALSE(QFile::exists(lockFile)) << lockFile.toStdString();
            QtSerialPort port(tool.path("."));
            port.selectDevice(pty.slavePath());
            EXPECT_NO_THROW(port.open());
            ::close(handle);
        }
    }
}

// The worked example's wire image decoded; then randomized valid maps: decode of frame --wire
// gives back the mode byte and every cell (digits below the half unit are cut by the encoding).
TEST_P(ToolOnTheLine, DecodeOfTheWireImageGivesBackTheMap) {
    test::writeBytes(tool.path("wire.bin"), test::wireOf(test::workedExampleFrame(f.frameLength)));
    EXPECT_EQ(tool.run({"decode", "wire.bin", "--variant", f.name, "--decimal", ","}),
              gives(0, workedExampleReport()));

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int round = 0; round < 4; ++round) {
        SampleMap map(profile);
        const int input = pick(2), output = pick(2);
        map.settings.inputPolarity = input ? "Felfutó" : "Lefutó";
        map.settings.outputPolarity = output ? "Felfutó" : "Lefutó";
        if (pick(2)) {
            map.settings.opening = "*";
            map.settings.closing = QString::number(50 + pick(461));
        }
        QString cells;
        for (int row = 1; row <= f.rpmRows; ++row) {
            cells += QStringLiteral("rpm row %1:").arg(row, 2);
            for (int column = 1; column <= f.mapColumns; ++column) {
                const int h = 1 + pick(127); // the cell in half units
                const QString value = QString::number(h / 2) + (h % 2 ? ",5" : "");
                cells += value.rightJustified(5);
                const QString below = h < 127 ? QString::number(pick(5)) : QString();
                map.table.setCell(column, row, value + (h % 2 ? "" : ",0") + below);
            }
            cells += u'\n';
        }
        write("map.qmt", map);
        const auto wire =
            tool.run({"frame", "map.qmt", "--wire", "--format", "raw", "--decimal", ","});
        ASSERT_EQ(wire.exitCode, 0) << wire.errText();
        test::writeBytes(tool.path("wire.bin"), wire.out);
        const QString decoded =
            tool.run({"decode", "wire.bin", "--variant", f.name, "--decimal", ","}).outText();
        const int mode = 0x03 | input << 7 | output << 6;
        EXPECT_TRUE(decoded.contains(
            "mode 0x" + QString::number(mode, 16).toUpper().rightJustified(2, u'0') + ':'))
            << decoded;
        EXPECT_TRUE(decoded.contains(cells)) << cells << decoded;
    }
}

// The record holds the bytes the line carried and the map file as it was; list, show, note,
// wire, export and find read it back.
TEST_P(ToolOnTheLine, SendIsRecordedAndTheJournalCommandsReadIt) {
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

INSTANTIATE_TEST_SUITE_P(Programs, ToolOnTheLine, ::testing::ValuesIn(test::programFacts()),
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
