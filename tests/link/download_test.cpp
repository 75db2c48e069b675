#include "link/downloadframe.h"
#include "link/portchooserpanel.h"
#include "link/qtserialport.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/settingspanel.h"
#include "support/formfixture.h"
#include "support/programrows.h"
#include "support/pseudoterminal.h"
#include "support/samplemap.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
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

TForm1& startWithMap(FormFixture& fixture, const test::SampleMap& map) {
    TForm1& form = fixture.start();
    form.mapModel->setTable(map.table);
    form.Panel1->setSettings(map.settings);
    form.LetoltBtn->setEnabled(true);
    fixture.prompter().records.clear();
    fixture.serial().events.clear();
    return form;
}

bool waitForMessage(FormFixture& fixture) {
    return QTest::qWaitFor([&] { return !fixture.prompter().messages().isEmpty(); }, kWaitMs);
}

// The frame of a map whose data cells hold `cells` in turn, from the frame layout: mode byte
// 0x83 (rising input, falling output), 12000 rpm -> 3125 (0x35 at 2, 0x0C at 65), 4 cylinders
// -> 0x4F, the constant 0x0C at 63; control mode: closing 510 degrees -> 0xFF and opening
// 0x00, otherwise closing 3 ms -> 7 and opening 1,5 ms -> 0x3A.
QByteArray documentedFrame(const ProgramFacts& f, bool controlMode, const QList<int>& cellBytes) {
    QByteArray frame(f.frameLength, '\0');
    frame[0] = char(0x83);
    frame[1] = char(controlMode ? 0xFF : 7);
    frame[2] = 0x35;
    frame[63] = 0x0C;
    frame[64] = controlMode ? 0 : 0x3A;
    frame[65] = 0x0C;
    frame[f.frameLength - 1] = 0x4F;
    int i = 0;
    for (int row = 1; row <= f.rpmRows; ++row)
        for (int column = 1; column <= f.mapColumns; ++column)
            frame[test::frameIndexOf(f.blockRows, f.rpmRows, f.mapColumns, column, row)] =
                char(cellBytes.at(i++ % cellBytes.size()));
    return frame;
}

} // namespace

class DownloadTest : public QObject {
    Q_OBJECT

private slots:
    void chooserCoversTheCommandBar() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.LetoltBtn->setEnabled(true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PortChooserPanel* chooser = form.Panel3->Panel5;
        QTest::mouseClick(form.ComBtn, Qt::LeftButton);
        QVERIFY(chooser->isVisible());
        for (QPushButton* button : {form.KilepBtn, form.LetoltBtn, form.ComBtn})
            QVERIFY(!button->isVisible());
        QCOMPARE(QApplication::focusWidget(), chooser->ComboBox2);
        chooser->ComboBox2->setCurrentIndex(2);
        QTest::mouseClick(chooser->ComOkBtn, Qt::LeftButton);
        QVERIFY(!chooser->isVisible());
        for (QPushButton* button : {form.KilepBtn, form.LetoltBtn, form.ComBtn})
            QVERIFY(button->isVisible());
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com3"));
        QCOMPARE(form.MSComm1->selectedPort(), 3);
        QVERIFY(form.LetoltBtn->isEnabled());
    }

    // The confirmation updates line 2 of the port file (zerwa8, zerwa4) or of the working
    // file (zerwa4_60), only when it exists.
    void confirmationUpdatesItsFile_data() {
        QTest::addColumn<const ProgramFacts*>("program");
        QTest::addColumn<QByteArray>("before"); // empty: no such file
        QTest::addColumn<QByteArray>("after");
        for (const ProgramFacts& f : test::programFacts()) {
            QTest::addRow("%s one line", f.name)
                << &f << QByteArray("x.qmt\r\n") << QByteArray("x.qmt\r\n4\r\n");
            QTest::addRow("%s three lines", f.name)
                << &f << QByteArray("x.qmt\r\n2\r\nharmadik\r\n")
                << QByteArray("x.qmt\r\n4\r\nharmadik\r\n");
            QTest::addRow("%s no file", f.name) << &f << QByteArray() << QByteArray();
        }
    }
    void confirmationUpdatesItsFile() {
        QFETCH(const ProgramFacts*, program);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        FormFixture fixture(program->profile());
        const QString file = fixture.pathOf(program->portFile);
        if (!before.isEmpty())
            test::writeBytes(file, before);
        if (program->portFile != program->workingFile) // kept until the next save
            test::writeBytes(fixture.pathOf(program->workingFile), "m.qmt\r\n1\r\n");
        TForm1& form = fixture.start();
        form.ComBtnClick();
        form.Panel3->Panel5->ComboBox2->setCurrentIndex(3);
        form.ComOkBtnClick();
        QCOMPARE(QFileInfo::exists(file) ? test::readBytes(file) : QByteArray(), after);
        if (program->portFile != program->workingFile)
            QCOMPARE(test::readBytes(fixture.pathOf(program->workingFile)),
                     QByteArray("m.qmt\r\n1\r\n"));
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com4"));
        QCOMPARE(form.portNumber(), 4);
        QVERIFY(form.Panel3->Panel5->isHidden());
    }

    void aPortLineOfNoItemGivesPortOne() {
        FormFixture fixture(profiles::zerwa4_60());
        test::writeBytes(fixture.pathOf("Editv4_60.txt"), "x.qmt\r\n\r\n");
        TForm1& form = fixture.start();
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com1"));
        QCOMPARE(form.portNumber(), 1);
        fixture.prompter().records.clear(); // the map named on line 1 is missing
        // Confirming without a choice stores no empty port line.
        form.ComBtnClick();
        form.ComOkBtnClick();
        QCOMPARE(fixture.prompter().messages(), QStringList({"Kérem válasszon portot!"}));
        QCOMPARE(test::readBytes(fixture.pathOf("Editv4_60.txt")), QByteArray("x.qmt\r\n\r\n"));
    }

    // Check, open, break; 500 ms later the frame, unit by unit, then close and the message.
    void oneDownload_data() { test::addProgramRows(); }
    void oneDownload() {
        QFETCH(const ProgramFacts*, program);
        FormFixture fixture(program->profile());
        TForm1& form = startWithMap(fixture, test::SampleMap(program->profile()));
        const test::SerialRecorder& serial = fixture.serial();
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QCOMPARE(serial.ops(), QList<Op>({Op::Open, Op::BreakOn}));
        QVERIFY(form.Timer1->isActive());
        QVERIFY(waitForMessage(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
        QList<Op> expected = {Op::Open, Op::BreakOn, Op::BreakOff};
        for (int i = 0; i < program->frameLength; ++i)
            expected << Op::Write;
        QCOMPARE(serial.ops(), expected << Op::Close);
        QList<int> cellBytes;
        for (int c = 1; c <= program->mapColumns; ++c)
            cellBytes << 2 * c;
        QCOMPARE(serial.written(),
                 downloadframe::wireImage(documentedFrame(*program, false, cellBytes)));
        QCOMPARE(serial.events.at(3).bytes.size(), 3); // one write per frame unit
        const qint64 breakMs = serial.events.at(2).atMs - serial.events.at(1).atMs;
        QVERIFY2(breakMs >= 490, qPrintable(QString::number(breakMs)));
        QCOMPARE(serial.events.at(0).port, 1);
        QVERIFY(!form.Timer1->isActive());
    }

    void refusalsAndFailures() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = startWithMap(fixture, test::SampleMap(profiles::zerwa4()));
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
        QVERIFY(waitForMessage(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({"Hiba a letöltésben!  60"}));
        QCOMPARE(fixture.serial().ops().count(Op::Write), 61); // none after the failed one
        QCOMPARE(fixture.serial().ops().last(), Op::Close);
    }

    void valuesAreReadAtTheTick() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = startWithMap(fixture, test::SampleMap(profiles::zerwa8()));
        form.LetoltBtnClick();
        form.mapModel->setCellText(8, 15, "20"); // frame index 3
        form.Panel1->Edit2->setText("2");        // frame index 64
        QVERIFY(waitForMessage(fixture));
        const QByteArray wire = fixture.serial().written();
        QCOMPARE(quint8(wire.at(3 * 3)), 40);
        QCOMPARE(quint8(wire.at(64 * 3)), 0x4E);
    }

    // The real serial code on a pseudo-terminal: its line settings read back with termios, and
    // the bytes that reach the other end, raw, for two downloads in a row.
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
        TForm1& form = startWithMap(fixture, map);
        const int slave = ::open(qPrintable(pty.slavePath()), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        QVERIFY(slave >= 0);
        const QByteArray wire =
            downloadframe::wireImage(documentedFrame(*program, true, {10, 13, 17, 19, 127, 1}));

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
            QVERIFY(waitForMessage(fixture));
            QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
            QVERIFY(!form.MSComm1->isOpen());
            QCOMPARE(pty.readWithEvents(wire.size(), kWaitMs), wire);
        }
        ::close(slave);
    }

    void aMissingDeviceIsNamed() {
        FormFixture fixture(profiles::zerwa4());
        const QString link = fixture.pathOf("COM1");
        QVERIFY(QFile::link(fixture.pathOf("ttyUSB9"), link));
        fixture.setSerialPortFactory(
            [](const QString& folder) { return std::make_unique<QtSerialPort>(folder); });
        TForm1& form = startWithMap(fixture, test::SampleMap(profiles::zerwa4()));
        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().errors(),
                 QStringList({"A soros port nem nyitható meg: COM1 (" + link + " -> " +
                              fixture.pathOf("ttyUSB9") + ")\nNincs ilyen eszköz."}));
        QVERIFY(!form.Timer1->isActive());
    }
};

QTEST_MAIN(DownloadTest)
#include "download_test.moc"
