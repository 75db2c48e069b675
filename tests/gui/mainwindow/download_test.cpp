// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journal.h"
#include "core/link/downloadframe.h"
#include "core/link/qtserialport.h"
#include "core/storage/mapfile.h"
#include "core/support/pseudoterminal.h"
#include "core/support/testfiles.h"
#include "gui/journal/journalwindow.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/portchooserpanel.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/support/formfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace zerwa;
using test::FormFixture;
using test::ProgramFacts;
using Op = test::SerialRecorder::Op;

namespace {

const QString kDataError = QStringLiteral("Hiba az adattáblán!\n Kérem ellenőrizze az adatokat!");
const QString kDone = QStringLiteral("A letöltés befejezve!");
constexpr int kWaitMs = 15000; // generous: the tick is due after 500 ms

// The wire image of the map the window shows; the frame's layout is the encoder's own.
QByteArray wireOf(const TForm1& form) {
    return downloadframe::wireImage(
        EncodeDownloadFrame(form.profile(), form.table(), form.Panel1->settings(), form.numbers()));
}

} // namespace

class DownloadTest : public QObject {
    Q_OBJECT

private slots:
    // The confirmation updates line 2 of the port file (zerwa8, zerwa4) or of the working
    // file (zerwa4_60), only when it exists; the port is used from then on.
    void confirmationUpdatesItsFile() {
        const std::pair<QByteArray, QByteArray> cases[] = {
            {"x.qmt\r\n", "x.qmt\r\n4\r\n"},
            {"x.qmt\r\n2\r\nharmadik\r\n", "x.qmt\r\n4\r\nharmadik\r\n"},
            {"", ""}}; // no such file
        for (const ProgramFacts& f : test::programFacts()) {
            for (const auto& [before, after] : cases) {
                FormFixture fixture(f.profile());
                const QString file = fixture.pathOf(f.portFile);
                if (!before.isEmpty())
                    test::writeBytes(file, before);
                if (f.portFile != f.workingFile) // kept until the next save
                    test::writeBytes(fixture.pathOf(f.workingFile), "m.qmt\r\n1\r\n");
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
                QCOMPARE(QFileInfo::exists(file) ? test::readBytes(file) : QByteArray(), after);
                if (f.portFile != f.workingFile)
                    QCOMPARE(test::readBytes(fixture.pathOf(f.workingFile)),
                             QByteArray("m.qmt\r\n1\r\n"));
                QCOMPARE(QStringList({form.ComBtn->text(), QString::number(form.portNumber())}),
                         QStringList({"Com4", "4"}));
            }
        }
    }

    // Check, open, break; 500 ms later the frame, unit by unit, then close and the message.
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
    }

    void refusalsAndFailures() {
        FormFixture fixture(profiles::zerwa4());
        fixture.start();
        TForm1& form = fixture.withMap(test::SampleMap(profiles::zerwa4()));
        form.mapModel->setCellText(3, 17, QString());
        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().messages(), QStringList({kDataError}));
        QVERIFY(fixture.serial().events.isEmpty());

        form.mapModel->setCellText(3, 17, "3");
        fixture.prompter().records.clear();
        fixture.serial().openFailure = "A soros port nem nyitható meg: COM1";
        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().errors(), QStringList({fixture.serial().openFailure}));
        QVERIFY(fixture.serial().events.isEmpty());
        QVERIFY(!form.Timer1->isActive());

        fixture.prompter().records.clear();
        fixture.serial().openFailure.clear();
        fixture.serial().failWriteAt = 60;
        form.LetoltBtnClick();
        form.mapModel->setCellText(4, 30, "20"); // frame index 3: the values are read at the tick
        QVERIFY(fixture.waitForMessage());
        QCOMPARE(quint8(fixture.serial().written().at(3 * 3)), 40);
        QCOMPARE(fixture.prompter().messages(), QStringList({"Hiba a letöltésben!  60"}));
        QCOMPARE(fixture.serial().ops().count(Op::Write), 61); // none after the failed one
        QCOMPARE(fixture.serial().ops().last(), Op::Close);
    }

    // The real serial code on a pseudo-terminal: its line settings read back with termios, and
    // the bytes that reach the other end, raw, for two downloads in a row; each download's
    // journal record holds those bytes, and its map, saved from the journal window, is the
    // file that was loaded.
    void downloadReachesTheLine_data() { test::addProgramRows(); }
    void downloadReachesTheLine() {
        QFETCH(const ProgramFacts*, program);
        test::PseudoTerminal pty;
        QVERIFY(pty.isValid());
        FormFixture fixture(program->profile());
        QVERIFY(QFile::link(pty.slavePath(), fixture.pathOf("COM1")));
        fixture.setSerialPortFactory(
            [](const QString& folder) { return std::make_unique<QtSerialPort>(folder); });
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
        test::writeBytes(path, *mapfile::encode(program->profile(), {map.settings, map.table}));
        TForm1& form = fixture.start();
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
        form.showJournal();
        form.journalWindow()->table->selectRow(1);
        fixture.prompter().saveFiles = {fixture.pathOf("vissza.qmt")};
        QTest::mouseClick(form.journalWindow()->saveAsButton, Qt::LeftButton);
        QCOMPARE(test::readBytes(fixture.pathOf("vissza.qmt")), test::readBytes(path));
    }
};

QTEST_MAIN(DownloadTest)
#include "download_test.moc"
