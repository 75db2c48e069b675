#include "link/downloadframe.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/portchooserpanel.h"
#include "mainwindow/settingspanel.h"
#include "model/variantprofiles.h"
#include "samplemaps.h"
#include "support/formfixture.h"
#include "support/profilerows.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zerwa;
using zerwa::test::FormFixture;
using Op = zerwa::test::SerialRecorder::Op;

namespace {

const QString kDataError = QStringLiteral("Hiba az adattáblán!\n Kérem ellenőrizze az adatokat!");
const QString kDone = QStringLiteral("A letöltés befejezve!");

constexpr int kTickWaitMs = 10000; // generous: the tick is due after 500 ms

TForm1& startWithValidMap(FormFixture& fixture) {
    TForm1& form = fixture.start();
    const test::SampleMap map = test::validSampleMap(form.profile());
    form.mapModel->setTable(map.table);
    form.Panel1->setSettings(map.settings);
    form.LetoltBtn->setEnabled(true);
    fixture.prompter().clear();
    fixture.serial().clear();
    return form;
}

QByteArray expectedWire(const TForm1& form) {
    return downloadframe::wireImage(
        EncodeDownloadFrame(form.profile(), form.table(), form.Panel1->settings(), form.numbers()));
}

bool waitForMessage(FormFixture& fixture) {
    return QTest::qWaitFor([&] { return !fixture.prompter().messages().isEmpty(); }, kTickWaitMs);
}

} // namespace

class DownloadSequencerTest : public QObject {
    Q_OBJECT

private slots:
    void timerIsIdleAtStart() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        QCOMPARE(form.Timer1->interval(), 500);
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(!form.MSComm1->isOpen());
    }

    void invalidMapIsRefusedBeforeThePortOpens() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = startWithValidMap(fixture);
        form.mapModel->setCellText(3, 17, QString());
        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().messages(), QStringList({kDataError}));
        QVERIFY(fixture.serial().events().isEmpty());
        QVERIFY(!form.Timer1->isActive());
    }

    void oneDownload_data() { test::addProfileRows(); }
    void oneDownload() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = startWithValidMap(fixture);
        const test::SerialRecorder& serial = fixture.serial();

        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        // The break is on before the timer runs; nothing is written yet.
        QCOMPARE(serial.ops(), QList<Op>({Op::Open, Op::BreakOn}));
        QVERIFY(form.Timer1->isActive());
        QVERIFY(fixture.prompter().records().isEmpty());

        QVERIFY(waitForMessage(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(!form.MSComm1->isOpen());

        QList<Op> expected = {Op::Open, Op::BreakOn, Op::BreakOff};
        for (int i = 0; i < profile->frameLength; ++i)
            expected << Op::Write;
        expected << Op::Close << Op::Released;
        QCOMPARE(serial.ops(), expected);
        for (const auto& event : serial.events()) {
            QVERIFY(event.ok);
            if (event.op == Op::Write)
                QCOMPARE(event.bytes.size(), 3); // one write per frame unit
        }
        QCOMPARE(serial.writtenSinceOpen(), expectedWire(form));
        QCOMPARE(serial.writtenSinceOpen().size(), profile->frameLength * 3);

        // Break of one timer interval, then the frame at once.
        const qint64 breakMs = serial.msBetween(1, 2);
        QVERIFY2(breakMs >= 490 && breakMs < kTickWaitMs, qPrintable(QString::number(breakMs)));
        QVERIFY(serial.msBetween(2, 3) < 200);
        QVERIFY(serial.msBetween(3, expected.size() - 2) < 200);
    }

    void failingOpenLeavesNoBreakAndNoTimer() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = startWithValidMap(fixture);
        const QString failure = QStringLiteral("A soros port nem nyitható meg: COM1\nNincs ilyen.");
        fixture.serial().openFailure = failure;
        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().errors(), QStringList({failure}));
        QCOMPARE(fixture.serial().ops(), QList<Op>({Op::Open}));
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(!form.MSComm1->isOpen());
    }

    void refusedBreakClosesThePort() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = startWithValidMap(fixture);
        fixture.serial().refuseBreak = true;
        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().errors(),
                 QStringList({"Nem tudom a BREAK jelet kiadni a COM1 porton!"}));
        QCOMPARE(fixture.serial().ops(),
                 QList<Op>({Op::Open, Op::BreakOn, Op::Close, Op::Released}));
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(!form.MSComm1->isOpen());
    }

    void writeFailureReportsTheUnitsWritten_data() {
        QTest::addColumn<int>("failingUnit");
        for (int k : {0, 1, 60, 126})
            QTest::newRow(qPrintable(QString::number(k))) << k;
    }
    void writeFailureReportsTheUnitsWritten() {
        QFETCH(int, failingUnit);
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = startWithValidMap(fixture);
        fixture.serial().failWriteAt = failingUnit;
        form.LetoltBtnClick();
        QVERIFY(waitForMessage(fixture));
        QCOMPARE(
            fixture.prompter().messages(),
            QStringList({QStringLiteral("Hiba a letöltésben!  ") + QString::number(failingUnit)}));
        const test::SerialRecorder& serial = fixture.serial();
        QCOMPARE(serial.count(Op::Write), failingUnit + 1); // no write after the failed one
        QVERIFY(!serial.events().at(serial.indexOf(Op::Close) - 1).ok);
        QCOMPARE(serial.writtenSinceOpen(), expectedWire(form).left(failingUnit * 3));
        QVERIFY(!form.MSComm1->isOpen());
    }

    void bytesLostWhileClosingAreAFailure() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = startWithValidMap(fixture);
        fixture.serial().undeliveredOnClose = 7; // the last two units and a byte of the third
        form.LetoltBtnClick();
        QVERIFY(waitForMessage(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({"Hiba a letöltésben!  124"}));
    }

    void twoDownloadsInARow() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = startWithValidMap(fixture);
        for (int round = 1; round <= 2; ++round) {
            const qsizetype from = fixture.serial().events().size();
            form.LetoltBtnClick();
            QVERIFY(waitForMessage(fixture));
            QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
            fixture.prompter().clear();
            QVERIFY(!form.Timer1->isActive());
            const auto& events = fixture.serial().events();
            QCOMPARE(events.at(from).op, Op::Open);
            QCOMPARE(events.at(from + 1).op, Op::BreakOn);
            QCOMPARE(events.at(from + 2).op, Op::BreakOff);
            QCOMPARE(fixture.serial().writtenSinceOpen(), expectedWire(form));
            QCOMPARE(events.size() - from, 3 + 247 + 2);
        }
    }

    void valuesAreReadAtTheTick() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = startWithValidMap(fixture);
        form.LetoltBtnClick();
        form.mapModel->setCellText(8, 15, QStringLiteral("20")); // frame index 3
        form.Panel1->Edit2->setText(QStringLiteral("2"));        // frame index 64
        QVERIFY(waitForMessage(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
        const QByteArray wire = fixture.serial().writtenSinceOpen();
        QCOMPARE(quint8(wire.at(3 * 3)), 40);
        QCOMPARE(quint8(wire.at(64 * 3)), 0x4E);
    }

    void mapMadeInvalidDuringTheBreakIsNotSent_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("text in a cell") << 2 << 5 << "abc";
        QTest::newRow("cell out of range") << 1 << 1 << "64";
        QTest::newRow("rpm out of range") << 0 << 3 << "100";
    }
    void mapMadeInvalidDuringTheBreakIsNotSent() {
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QString, text);
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = startWithValidMap(fixture);
        form.LetoltBtnClick();
        form.mapModel->setCellText(column, row, text);
        QVERIFY(waitForMessage(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({kDataError}));
        QVERIFY(fixture.prompter().errors().isEmpty());
        QCOMPARE(fixture.serial().ops(),
                 QList<Op>({Op::Open, Op::BreakOn, Op::BreakOff, Op::Close, Op::Released}));
        QVERIFY(!form.MSComm1->isOpen());
        QVERIFY(!form.Timer1->isActive());
    }

    void secondClickDuringTheBreakStartsNothing() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = startWithValidMap(fixture);
        form.LetoltBtnClick();
        QTest::qWait(100);
        if (!form.Timer1->isActive())
            QSKIP("the machine was too slow to click within the break");
        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().errors().size(), 1); // the port is already open
        QVERIFY(form.Timer1->isActive());
        QVERIFY(waitForMessage(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));

        const test::SerialRecorder& serial = fixture.serial();
        QCOMPARE(serial.count(Op::Open), 2);
        QVERIFY(!serial.events().at(2).ok);               // the refused second open
        QCOMPARE(serial.events().at(3).op, Op::BreakOff); // break held until the first tick
        // The timer was not restarted: the tick follows the first click, not the second.
        QVERIFY(serial.msBetween(2, 3) < 495);
        QCOMPARE(serial.count(Op::BreakOn), 1);
        QCOMPARE(serial.writtenSinceOpen(), expectedWire(form));
    }

    void portChangedDuringTheBreakAppliesToTheNextDownload() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = startWithValidMap(fixture);
        form.LetoltBtnClick();
        form.ComBtnClick();
        form.Panel3->Panel5->ComboBox2->setCurrentIndex(2);
        form.ComOkBtnClick();
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com3"));
        QVERIFY(waitForMessage(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
        for (const auto& event : fixture.serial().events()) {
            if (event.op != Op::Select)
                QCOMPARE(event.port, 1);
        }

        fixture.prompter().clear();
        fixture.serial().clear();
        form.LetoltBtnClick();
        QCOMPARE(fixture.serial().events().at(0).port, 3);
        QVERIFY(waitForMessage(fixture));
    }

    void windowKeepsWorkingWhileTheBytesDrain() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = startWithValidMap(fixture);
        fixture.serial().releaseDelayMs = 400;
        form.LetoltBtnClick();
        QVERIFY(
            QTest::qWaitFor([&] { return fixture.serial().count(Op::Close) == 1; }, kTickWaitMs));
        QVERIFY(fixture.prompter().messages().isEmpty()); // not before the bytes have left
        QVERIFY(form.MSComm1->isOpen());

        bool eventsRan = false;
        QTimer::singleShot(10, &form, [&] { eventsRan = true; });
        form.LetoltBtnClick(); // a click meanwhile finds the port still in use
        QCOMPARE(fixture.prompter().errors().size(), 1);

        QVERIFY(waitForMessage(fixture));
        QVERIFY(eventsRan);
        QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
        QCOMPARE(fixture.serial().ops().last(), Op::Released);
        QVERIFY(!form.Timer1->isActive());
    }

    void tickWithoutADownloadDoesNothing() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = startWithValidMap(fixture);
        form.Timer1Timer();
        QVERIFY(fixture.serial().events().isEmpty());
        QVERIFY(fixture.prompter().records().isEmpty());
    }
};

QTEST_MAIN(DownloadSequencerTest)
#include "downloadsequencer_test.moc"
