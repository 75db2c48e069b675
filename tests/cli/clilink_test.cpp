// SPDX-License-Identifier: GPL-3.0-or-later
// The tool on the line: send into a pseudo-terminal, listen on another, and the frame read
// back by decode.
#include "core/link/qtserialport.h"
#include "core/support/pseudoterminal.h"
#include "toolrunner.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <csignal>
#include <sys/ioctl.h>

#include <random>

using namespace zerwa;
using test::PseudoTerminal;
using test::SampleMap;

namespace {

constexpr int kWaitMs = 15000;

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
              test::gives(0, workedExampleReport()));

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

INSTANTIATE_TEST_SUITE_P(Programs, ToolOnTheLine, ::testing::ValuesIn(test::programFacts()),
                         test::programName);

} // namespace
