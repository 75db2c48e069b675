// SPDX-License-Identifier: GPL-3.0-or-later
// The download through the window, to a recording port and to pseudo-terminals. Who may open a
// port: the adapter is held by one program at a time, and a COMn entry that leads to no serial
// device is refused saying why. A line that does not drain: the close is given up at its time
// limit, the port released, and the window neither hangs nor opens the port twice meanwhile.
#include "core/journal/journal.h"
#include "core/link/downloadframe.h"
#include "core/link/qtserialport.h"
#include "core/support/pseudoterminal.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/mainwindow/portchooserpanel.h"
#include "gui/support/formfixture.h"

#include <QComboBox>
#include <QDir>
#include <QScopeGuard>
#include <QTimer>

#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

using namespace zerwa;
using test::FormFixture;
using test::ProgramFacts;
using Op = test::SerialRecorder::Op;
using std::chrono::milliseconds;
using test::PseudoTerminal;
using test::StalledLine;

namespace {

const QString kDone = QStringLiteral("A letöltés befejezve!");
constexpr int kWaitMs = 15000; // generous: the tick is due after 500 ms

// The wire image of the map the window shows; the frame's layout is the encoder's own.
QByteArray wireOf(const TForm1& form) {
    return downloadframe::wireImage(
        EncodeDownloadFrame(form.profile(), form.table(), form.Panel1->settings(), form.numbers()));
}

const QString kOpenFailure = QStringLiteral("A soros port nem nyitható meg: COM1 (");

QString openFailureOf(QtSerialPort& port) {
    try {
        port.open();
    } catch (const SerialPortError& error) {
        return error.message();
    }
    return QStringLiteral("(opened)");
}

// The window with a valid map on the real serial port, whose close is given up after `limit`;
// COM1 and COM3 in its start-up folder lead to the pseudo-terminal.
TForm1& startOnTheLine(FormFixture& fixture, const PseudoTerminal& pty, milliseconds limit) {
    for (const char* name : {"COM1", "COM3"})
        QFile::link(pty.slavePath(), fixture.pathOf(name));
    fixture.setSerialPortFactory([limit](const QString& folder) -> std::unique_ptr<SerialPort> {
        auto port = std::make_unique<QtSerialPort>(folder);
        port->setCloseTimeLimit({0, limit});
        return port;
    });
    fixture.start();
    return fixture.withMap(test::SampleMap(fixture.form().profile()));
}

// A download from the click to its message: the whole frame reaches the line.
void downloadCompletely(FormFixture& fixture, PseudoTerminal& pty) {
    TForm1& form = fixture.form();
    QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
    const QByteArray wire = pty.readWithEvents(form.profile().frameLength * 3, kWaitMs);
    QVERIFY(fixture.waitForMessage());
    QCOMPARE(fixture.prompter().records.size(), 1);
    QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
    QCOMPARE(wire.size(), form.profile().frameLength * 3);
}

} // namespace

class DownloadTest : public QObject {
    Q_OBJECT

private slots:
    // The confirmation updates line 2 of the port file (zerwa8, zerwa4) or of the working
    // file (zerwa4_60); the port is used from then on.
    void confirmationUpdatesItsFile_data() { test::addProgramRows(); }
    void confirmationUpdatesItsFile() {
        QFETCH(const ProgramFacts*, program);
        FormFixture fixture(program->profile());
        const QString file = fixture.pathOf(program->portFile);
        test::writeBytes(file, "x.qmt\r\n2\r\nharmadik\r\n");
        if (program->portFile != program->workingFile) // kept until the next save
            test::writeBytes(fixture.pathOf(program->workingFile), "m.qmt\r\n1\r\n");
        TForm1& form = fixture.start();
        form.show();
        QTest::mouseClick(form.ComBtn, Qt::LeftButton);
        // The chooser lies over the command bar, whose buttons cannot be reached.
        QVERIFY(form.Panel3->Panel5->isVisible() && !form.ComBtn->isVisible());
        QVERIFY(!form.KilepBtn->isVisible() && !form.LetoltBtn->isVisible());
        form.Panel3->Panel5->ComboBox2->setCurrentIndex(3);
        QTest::mouseClick(form.Panel3->Panel5->ComOkBtn, Qt::LeftButton);
        QVERIFY(!form.Panel3->Panel5->isVisible() && form.ComBtn->isVisible());
        QCOMPARE(form.MSComm1->selectedPort(), 4);
        QCOMPARE(test::readBytes(file), "x.qmt\r\n4\r\nharmadik\r\n");
        if (program->portFile != program->workingFile)
            QCOMPARE(test::readBytes(fixture.pathOf(program->workingFile)), "m.qmt\r\n1\r\n");
        QCOMPARE(QStringList({form.ComBtn->text(), QString::number(form.portNumber())}),
                 QStringList({"Com4", "4"}));
    }

    // Check, open, break; 500 ms later the frame, unit by unit, then close and the message. A
    // port that does not open, and a write that fails, end the download saying so.
    void oneDownload_data() { test::addProgramRows(); }
    void oneDownload() {
        QFETCH(const ProgramFacts*, program);
        FormFixture fixture(program->profile());
        fixture.start();
        TForm1& form = fixture.withMap(test::SampleMap(program->profile()));
        const test::SerialRecorder& serial = fixture.serial();
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QCOMPARE(serial.ops(), QList<Op>({Op::Open, Op::BreakOn}));
        QVERIFY(form.Timer1->isActive());
        QVERIFY(fixture.waitForMessage());
        QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
        QList<Op> expected = {Op::Open, Op::BreakOn, Op::BreakOff};
        for (int i = 0; i < program->frameLength; ++i)
            expected << Op::Write;
        QCOMPARE(serial.ops(), expected << Op::Close);
        QCOMPARE(serial.written(), wireOf(form));
        QCOMPARE(serial.events.at(3).bytes.size(), 3); // one write per frame unit
        const qint64 breakMs = serial.events.at(2).atMs - serial.events.at(1).atMs;
        QVERIFY2(breakMs >= 490, qPrintable(QString::number(breakMs)));
        QCOMPARE(serial.events.at(0).port, 1);
        QVERIFY(!form.Timer1->isActive());

        fixture.prompter().records.clear();
        fixture.serial().events.clear();
        fixture.serial().openFailure = "A soros port nem nyitható meg: COM1";
        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().errors(), QStringList({fixture.serial().openFailure}));
        QVERIFY(fixture.serial().events.isEmpty());
        QVERIFY(!form.Timer1->isActive());

        fixture.prompter().records.clear();
        fixture.serial().openFailure.clear();
        fixture.serial().failWriteAt = 60;
        form.LetoltBtnClick();
        // Frame index 3: the values are read at the tick.
        form.mapModel->setCellText(program->mapColumns, program->blockRows, "20");
        QVERIFY(fixture.waitForMessage());
        QCOMPARE(quint8(fixture.serial().written().at(3 * 3)), 40);
        QCOMPARE(fixture.prompter().messages(), QStringList({"Hiba a letöltésben!  60"}));
        QCOMPARE(fixture.serial().ops().count(Op::Write), 61); // none after the failed one
        QCOMPARE(fixture.serial().ops().last(), Op::Close);
    }

    // The real serial code on a pseudo-terminal: its line settings read back with termios, and
    // the bytes that reach the other end, raw, for two downloads in a row; each download's
    // journal record holds those bytes and names the device.
    void downloadReachesTheLine_data() { test::addProgramRows(); }
    void downloadReachesTheLine() {
        QFETCH(const ProgramFacts*, program);
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        FormFixture fixture(program->profile());
        TForm1& form = startOnTheLine(fixture, pty, milliseconds(kWaitMs));
        // Bytes a text-mode line would mangle: 0x00 (control-mode opening), 0x0A, 0x0D, 0x11,
        // 0x13 (cells 5, 6,5, 8,5, 9,5) and 0xFF (closing angle 510).
        test::SampleMap map(program->profile());
        map.settings.opening = "*";
        map.settings.closing = "510";
        const QStringList cells = {"5", "6,5", "8,5", "9,5", "63,5", "0,5"};
        for (int i = 0; i < program->rpmRows * program->mapColumns; ++i)
            map.table.setCell(1 + i % program->mapColumns, 1 + i / program->mapColumns,
                              cells.at(i % 6));
        const QString path = fixture.pathOf("elso.qmt");
        test::writeMap(path, program->profile(), map);
        QVERIFY(form.ReadMapFile(path));
        const int slave = ::open(qPrintable(pty.slavePath()), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        QVERIFY(slave >= 0);
        const QByteArray wire = wireOf(form);
        QVERIFY(wire.contains('\x11') && wire.contains('\x13') && wire.contains('\0'));

        for (int round = 0; round < 2; ++round) {
            fixture.prompter().records.clear();
            form.LetoltBtnClick();
            QVERIFY(fixture.prompter().records.isEmpty());
            termios line{};
            QCOMPARE(::tcgetattr(slave, &line), 0);
            QCOMPARE(::cfgetospeed(&line), speed_t(B2400));
            QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
            QCOMPARE(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
            QCOMPARE(line.c_iflag & (IXON | IXOFF | IXANY), tcflag_t(0));
            QVERIFY(pty.readAvailable().isEmpty()); // nothing before the tick
            QVERIFY(fixture.waitForMessage());
            QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
            QVERIFY(!form.MSComm1->isOpen());
            QCOMPARE(pty.readWithEvents(wire.size(), kWaitMs), wire);
        }
        ::close(slave);
        const Journal journal(fixture.journalFolder());
        for (const JournalEntry& entry : journal.list().entries) {
            const JournalRecord record = *journal.read(entry.id).record;
            QCOMPARE(record.wire, wire);
            QCOMPARE(QStringList({record.summary.port, record.summary.device, record.summary.file}),
                     QStringList({"COM1", pty.slavePath(), path}));
        }
    }

    void secondOpenerIsRefused_data() {
        QTest::addColumn<QString>("holder"); // whoever holds the adapter first
        QTest::newRow("the program started from another folder") << "program";
        QTest::newRow("a terminal program's advisory lock") << "flock";
        QTest::newRow("a terminal program's exclusive mode") << "TIOCEXCL";
    }
    void secondOpenerIsRefused() {
        QFETCH(QString, holder);
        test::PseudoTerminal pty;
        QTemporaryDir folder, otherFolder;
        const QString link = folder.filePath(QStringLiteral("COM1"));
        QVERIFY(QFile::link(pty.slavePath(), link));
        QVERIFY(QFile::link(pty.slavePath(), otherFolder.filePath(QStringLiteral("COM1"))));
        QtSerialPort port(folder.path());
        {
            QtSerialPort program(otherFolder.path());
            const int handle =
                ::open(QFile::encodeName(pty.slavePath()).constData(), O_RDWR | O_NOCTTY);
            QVERIFY(handle >= 0);
            const auto release = qScopeGuard([handle] {
                ::ioctl(handle, TIOCNXCL);
                ::close(handle);
            });
            if (holder == "program")
                program.open();
            else
                QCOMPARE(holder == "flock" ? ::flock(handle, LOCK_EX | LOCK_NB)
                                           : ::ioctl(handle, TIOCEXCL),
                         0);
            QCOMPARE(openFailureOf(port),
                     kOpenFailure + link + " -> " + pty.slavePath() +
                         ")\nA portot más program használja, vagy nincs hozzá jogosultság.");
            QVERIFY(!port.isOpen());
        }
        // Released by the other side: the device is free again, and opened by its own name.
        port.open();
        QVERIFY(port.isOpen());
        QCOMPARE(port.openDevice(), pty.slavePath());
    }

    void pathThatLeadsToNoDeviceIsNamed_data() {
        QTest::addColumn<QString>("linkTarget"); // in the folder; empty: COM1 itself is made
        QTest::addColumn<QString>("make");       // what is made at the target: dir, file
        QTest::addColumn<QString>("reason");
        const QString loop =
            QStringLiteral("A szimbolikus link körbe mutat, nem vezet el eszközhöz.");
        const QString folder = QStringLiteral("Ez egy mappa, nem soros port.");
        // clang-format off
        QTest::newRow("link to itself") << "COM1" << "" << loop;
        QTest::newRow("link to a folder") << "maps" << "dir" << folder;
        QTest::newRow("folder named COM1") << "" << "dir" << folder;
        QTest::newRow("link to a file") << "notes.txt" << "file" << "Ez nem soros port.";
        QTest::newRow("link to nowhere") << "ttyUSB7" << "" << "Nincs ilyen eszköz.";
        // clang-format on
    }
    void pathThatLeadsToNoDeviceIsNamed() {
        QFETCH(QString, linkTarget);
        QFETCH(QString, make);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        const QString com1 = folder.filePath(QStringLiteral("COM1"));
        const QString target = linkTarget.isEmpty() ? com1 : folder.filePath(linkTarget);
        if (make == "dir")
            QVERIFY(QDir().mkpath(target));
        else if (make == "file")
            QVERIFY(QFile(target).open(QIODevice::WriteOnly));
        if (!linkTarget.isEmpty())
            QVERIFY(QFile::link(target, com1));
        const QString named = linkTarget.isEmpty() ? com1 : com1 + " -> " + target;
        QtSerialPort port(folder.path());
        for (int attempt = 0; attempt < 2; ++attempt) { // a refusal leaves nothing behind
            QCOMPARE(openFailureOf(port), kOpenFailure + named + ")\n" + reason);
            QVERIFY(!port.isOpen());
        }
    }

    // Clicks and another port while the line stalls: each click is refused naming the port
    // still sending, one message ends the download, and the next one works.
    void clicksAndPortChangeDuringAStalledClose() {
        PseudoTerminal pty;
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = startOnTheLine(fixture, pty, milliseconds(3000));
        const QString port1 = "COM1 (" + fixture.pathOf("COM1") + " -> " + pty.slavePath() + ')';
        std::optional<StalledLine> stalled(pty.slavePath());
        QVERIFY(stalled->isValid());
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !form.Timer1->isActive(); }, kWaitMs)); // the tick
        QVERIFY(form.MSComm1->isOpen());
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QTest::mouseClick(form.ComBtn, Qt::LeftButton);
        form.Panel3->Panel5->ComboBox2->setCurrentIndex(2);
        QTest::mouseClick(form.Panel3->Panel5->ComOkBtn, Qt::LeftButton);
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com3"));
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().errors(),
                 QStringList(3, "A soros port nem nyitható meg: " + port1 +
                                    "\nA port még az előző letöltés adatait küldi."));
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(fixture.waitForMessage());
        QCOMPARE(fixture.prompter().messages(),
                 QStringList({"A letöltés nem fejeződött be időben: " + port1 +
                              "\nA portot lezártam, de lehet, hogy az eszköz nem kapta meg a "
                              "teljes map táblát."}));
        QVERIFY(!form.MSComm1->isOpen());
        fixture.prompter().records.clear();
        stalled.reset();
        drain(pty);
        downloadCompletely(fixture, pty); // on COM3
        // The journal tells the two apart: the first may not have reached the device whole.
        const QList<JournalEntry> entries = Journal(fixture.journalFolder()).list().entries;
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).summary->outcome, JournalOutcome::Delivered);
        QCOMPARE(entries.at(1).summary->outcome, JournalOutcome::CloseTimedOut);
    }

    // The window closed during the break or during a stalled close: it closes within the
    // limit, reports nothing, and the next run downloads.
    void closingTheWindowDuringADownload_data() {
        QTest::addColumn<bool>("afterTheTick");
        QTest::newRow("during the break") << false;
        QTest::newRow("while the line stalls") << true;
    }
    void closingTheWindowDuringADownload() {
        QFETCH(bool, afterTheTick);
        PseudoTerminal pty;
        FormFixture fixture(profiles::zerwa4_60());
        constexpr int kLimitMs = 1000;
        TForm1& form = startOnTheLine(fixture, pty, milliseconds(kLimitMs));
        std::optional<StalledLine> stalled(pty.slavePath());
        QVERIFY(stalled->isValid());
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        if (afterTheTick)
            QVERIFY(QTest::qWaitFor([&] { return !form.Timer1->isActive(); }, kWaitMs));
        QVERIFY(form.MSComm1->isOpen());
        QElapsedTimer clock;
        clock.start();
        TForm1& next = fixture.restart();
        // The slack is for a busy machine; a close that waited for the line would not return.
        QVERIFY2(clock.elapsed() < kLimitMs + 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(fixture.prompter().records.isEmpty());
        fixture.withMap(test::SampleMap(next.profile()));
        stalled.reset();
        drain(pty);
        downloadCompletely(fixture, pty);
    }

    // A port chosen by its path (as the command-line tool does) is named by that path when its
    // close is given up.
    void aTimedOutCloseNamesAPortGivenByPath() {
        PseudoTerminal pty;
        QtSerialPort port(QDir::tempPath());
        port.selectDevice(pty.slavePath());
        port.setCloseTimeLimit({0, milliseconds(200)});
        const StalledLine stalled(pty.slavePath());
        port.open();
        QVERIFY(port.write(QByteArray(381, 'x')));
        std::optional<SerialPort::CloseResult> result;
        port.close([&result](const SerialPort::CloseResult& closed) { result = closed; });
        QVERIFY(QTest::qWaitFor([&result] { return result.has_value(); }, kWaitMs));
        QVERIFY(result->timedOut);
        QCOMPARE(result->port, pty.slavePath());
    }
};

QTEST_MAIN(DownloadTest)
#include "download_test.moc"
