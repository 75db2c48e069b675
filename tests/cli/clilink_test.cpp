// The tool on the line: send into a pseudo-terminal, listen on another, and the frame read
// back by decode.
#include "model/variantprofiles.h"
#include "support/gtestqt.h"
#include "support/pseudoterminal.h"
#include "support/testfiles.h"
#include "toolrunner.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <poll.h>

#include <random>

#include <gtest/gtest.h>

using namespace zerwa;
using test::PseudoTerminal;
using test::SampleMap;
using test::ToolRunner;

namespace {

constexpr int kWaitMs = 15000;

class ToolOnTheLine : public ::testing::TestWithParam<const VariantProfile*> {
protected:
    const VariantProfile& profile() const { return *GetParam(); }
    ToolRunner tool;
};

// What reached the master side by the time the tool ended, and when the first byte came.
struct Received {
    QByteArray bytes;
    qint64 firstByteMs = -1;
};

Received receive(PseudoTerminal& pty, QProcess& process, const QElapsedTimer& clock) {
    Received received;
    const auto take = [&] {
        const QByteArray bytes = pty.readAvailable();
        if (!bytes.isEmpty() && received.firstByteMs < 0)
            received.firstByteMs = clock.elapsed();
        received.bytes += bytes;
    };
    while (process.state() != QProcess::NotRunning && clock.elapsed() < kWaitMs) {
        process.waitForFinished(5);
        take();
    }
    ::poll(nullptr, 0, 100); // anything after the end would show now
    take();
    return received;
}

TEST_P(ToolOnTheLine, SendDeliversExactlyTheWireImageAfterTheBreak) {
    tool.writeMap("map.qmt", profile(), test::workedExampleMap(profile()));
    for (const bool byNumber : {false, true}) {
        PseudoTerminal pty;
        ASSERT_TRUE(pty.isValid());
        QString port = pty.slavePath();
        if (byNumber) { // port 3 is the COM3 entry in the current folder
            QFile::remove(tool.path("COM3"));
            ASSERT_TRUE(QFile::link(pty.slavePath(), tool.path("COM3")));
            port = QStringLiteral("3");
        }
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        tool.start(process, {"send", "map.qmt", "--port", port, "--decimal", ","});
        const Received received = receive(pty, process, clock);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_EQ(process.readAllStandardOutput(), "A letöltés befejezve!\n");
        EXPECT_EQ(received.bytes, test::wireOf(test::workedExampleFrame(profile().frameLength)));
        EXPECT_GE(received.firstByteMs, 450);
    }
}

TEST_P(ToolOnTheLine, AMapThatFailsTheCheckSendsNothing) {
    SampleMap map = test::workedExampleMap(profile());
    map.table.setCell(1, profile().rpmRows, QStringLiteral("64"));
    tool.writeMap("bad.qmt", profile(), map);
    PseudoTerminal pty;
    const auto result = tool.run({"send", "bad.qmt", "--port", pty.slavePath(), "--decimal", ","});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errText().contains("Hiba az adattáblán!"));
    ::poll(nullptr, 0, 200);
    EXPECT_TRUE(pty.readAvailable().isEmpty());

    const auto dry = tool.run({"send", "bad.qmt", "--port", pty.slavePath(), "--dry-run"});
    EXPECT_EQ(dry.exitCode, 1);
    const auto noPort = tool.run({"send", "bad.qmt", "--port", "/dev/zerwa-nincs"});
    EXPECT_EQ(noPort.exitCode, 1); // the map is refused before the port is looked at
}

TEST(ToolPort, APortMissingOrBusyIsNamedAndGetsNothing) {
    ToolRunner tool;
    tool.writeMap("map.qmt", profiles::zerwa8(), test::SampleMap(profiles::zerwa8()));
    PseudoTerminal pty;
    QProcess holder; // another program has the port open
    tool.start(holder, {"listen", "--port", pty.slavePath(), "--variant", "zerwa8"});
    holder.setReadChannel(QProcess::StandardError);
    ASSERT_TRUE(holder.waitForReadyRead(kWaitMs));
    for (const QString& port : {QStringLiteral("/dev/zerwa-nincs"), pty.slavePath()}) {
        const auto result = tool.run({"send", "map.qmt", "--port", port, "--decimal", ","});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1);
        EXPECT_TRUE(result.errText().contains(port)) << result.errText().toStdString();
    }
    EXPECT_TRUE(pty.readAvailable().isEmpty());
    holder.kill();
    holder.waitForFinished();
}

// The map's data cells as decode and listen print them: "rpm row r:" and one value a column.
QList<QStringList> printedRows(const QString& output) {
    QList<QStringList> rows;
    static const QRegularExpression row(QStringLiteral("^rpm row +(\\d+):(.*)$"),
                                        QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(output); it.hasNext();) {
        const auto match = it.next();
        rows << match.captured(2).split(u' ', Qt::SkipEmptyParts);
        EXPECT_EQ(match.captured(1).toInt(), rows.size());
    }
    return rows;
}

// A valid map with random settings and cells; `halfUnits` gets each cell's value in half
// units as the device must get it (column c of row r at [r - 1][c - 1]).
SampleMap randomMap(const VariantProfile& p, std::mt19937& random, QList<QList<int>>& halfUnits) {
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    SampleMap map = test::SampleMap(p);
    const QStringList polarities = {"Lefutó", "Felfutó"};
    map.settings = {p.cylinderItems.at(pick(int(p.cylinderItems.size()))),
                    QString::number(600 + pick(p.rpmCeiling - 599)),
                    pick(2) ? "*" : QStringLiteral("1,%1").arg(pick(10)),
                    QString::number(50 + pick(461)),
                    polarities.at(pick(2)),
                    polarities.at(pick(2))};
    if (map.settings.opening != "*")
        map.settings.closing = QStringLiteral("%1,%2").arg(1 + pick(9)).arg(pick(10));
    halfUnits.clear();
    for (int row = 1; row <= p.rpmRows; ++row) {
        halfUnits << QList<int>();
        for (int column = 1; column <= p.mapColumns; ++column) {
            const int h = 1 + pick(127);
            // Extra digits below the next half unit are cut off by the encoding.
            QString text = QString::number(h / 2) + (h % 2 ? ",5" : ",0");
            if (h < 127)
                text += QString::number(pick(5));
            map.table.setCell(column, row, text);
            halfUnits.last() << h;
        }
    }
    return map;
}

int expectedModeByte(const SettingsBlock& s) {
    return 0x03 | (s.inputPolarity == "Felfutó" ? 0x80 : 0) |
           (s.outputPolarity == "Felfutó" ? 0x40 : 0);
}

void expectCells(const QString& output, const QList<QList<int>>& halfUnits) {
    const QList<QStringList> rows = printedRows(output);
    ASSERT_EQ(rows.size(), halfUnits.size()) << output.toStdString();
    for (int r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(rows.at(r).size(), halfUnits.at(r).size());
        for (int c = 0; c < rows.at(r).size(); ++c)
            EXPECT_EQ(QString(rows.at(r).at(c)).replace(u',', u'.').toDouble() * 2,
                      halfUnits.at(r).at(c))
                << "row " << r + 1 << " column " << c + 1;
    }
}

TEST_P(ToolOnTheLine, DecodeOfTheWireImageGivesBackTheMap) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int round = 0; round < 4; ++round) {
        QList<QList<int>> halfUnits;
        const SampleMap map = randomMap(profile(), random, halfUnits);
        tool.writeMap("map.qmt", profile(), map);
        const auto wire =
            tool.run({"frame", "map.qmt", "--wire", "--format", "raw", "--decimal", ","});
        ASSERT_EQ(wire.exitCode, 0) << wire.errText().toStdString();
        test::writeBytes(tool.path("wire.bin"), wire.out);
        const auto decoded =
            tool.run({"decode", "wire.bin", "--variant", profile().programName, "--decimal", ","});
        EXPECT_EQ(decoded.exitCode, 0) << decoded.outText().toStdString();
        const QString mode = QStringLiteral("mode 0x%1:")
                                 .arg(expectedModeByte(map.settings), 2, 16, QChar(u'0'))
                                 .toUpper();
        EXPECT_TRUE(decoded.outText().toUpper().contains(mode)) << decoded.outText().toStdString();
        expectCells(decoded.outText(), halfUnits);
    }
}

TEST_P(ToolOnTheLine, ListenPrintsWhatSendSent) {
    PseudoTerminal sender;
    PseudoTerminal device;
    ASSERT_TRUE(sender.isValid() && device.isValid());
    std::mt19937 random(7);
    QList<QList<int>> halfUnits;
    tool.writeMap("map.qmt", profile(), randomMap(profile(), random, halfUnits));

    QProcess listener;
    tool.start(listener, {"listen", "--port", device.slavePath(), "--variant",
                          profile().programName, "--once", "--decimal", ","});
    listener.setReadChannel(QProcess::StandardError);
    ASSERT_TRUE(listener.waitForReadyRead(kWaitMs)); // it says so once it listens
    ASSERT_TRUE(listener.readAllStandardError().contains("listening"));
    QProcess sending;
    tool.start(sending, {"send", "map.qmt", "--port", sender.slavePath(), "--decimal", ","});
    QElapsedTimer clock;
    clock.start();
    const auto running = [](const QProcess& p) { return p.state() != QProcess::NotRunning; };
    while ((running(listener) || running(sending)) && clock.elapsed() < kWaitMs) {
        listener.waitForFinished(5);
        sending.waitForFinished(0);
        ASSERT_TRUE(device.write(sender.readAvailable())); // the cable between the two
    }
    EXPECT_EQ(sending.exitCode(), 0);
    EXPECT_EQ(listener.exitCode(), 0) << listener.readAllStandardError().toStdString();
    expectCells(QString::fromUtf8(listener.readAllStandardOutput()), halfUnits);
}

INSTANTIATE_TEST_SUITE_P(Programs, ToolOnTheLine, ::testing::ValuesIn(profiles::all()),
                         [](const auto& info) { return info.param->programName.toStdString(); });

} // namespace
