// SPDX-License-Identifier: GPL-3.0-or-later
// The real serial code on pseudo-terminals. Who may open a port: the adapter is held by one
// program at a time, and a COMn entry that leads to no serial device is refused saying why. A
// line that does not drain: the close is given up at its time limit, the port released, and the
// window neither hangs nor opens the port twice meanwhile.
#include "core/journal/journal.h"
#include "core/link/qtserialport.h"
#include "core/link/serialporterror.h"
#include "core/support/pseudoterminal.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/portchooserpanel.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/support/formfixture.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace zerwa;
using std::chrono::milliseconds;
using zerwa::test::FormFixture;
using zerwa::test::PseudoTerminal;
using zerwa::test::StalledLine;

namespace {

const QString kOpenFailure = QStringLiteral("A soros port nem nyitható meg: COM1 (");

QString openFailureOf(QtSerialPort& port) {
    try {
        port.open();
    } catch (const SerialPortError& error) {
        return error.message();
    }
    return QStringLiteral("(opened)");
}

constexpr int kWaitMs = 15000;

QString timedOut(const QString& port) {
    return "A letöltés nem fejeződött be időben: " + port +
           "\nA portot lezártam, de lehet, hogy az eszköz nem kapta meg a teljes map táblát.";
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
    QCOMPARE(fixture.prompter().messages(), QStringList({"A letöltés befejezve!"}));
    QCOMPARE(wire.size(), form.profile().frameLength * 3);
}

} // namespace

class RealPortTest : public QObject {
    Q_OBJECT

private slots:
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
        QCOMPARE(fixture.prompter().messages(), QStringList({timedOut(port1)}));
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

QTEST_MAIN(RealPortTest)
#include "realport_test.moc"
