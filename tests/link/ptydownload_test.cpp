#include "link/downloadframe.h"
#include "link/qtserialport.h"
#include "link/serialporterror.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/settingspanel.h"
#include "model/variantprofiles.h"
#include "pseudoterminal.h"
#include "samplemaps.h"
#include "support/formfixture.h"
#include "support/profilerows.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zerwa;
using zerwa::test::FormFixture;
using zerwa::test::PseudoTerminal;

namespace {

constexpr int kWaitMs = 15000;

void useRealSerialPort(FormFixture& fixture) {
    fixture.setSerialPortFactory([](const QString& startupDirectory) {
        return std::make_unique<QtSerialPort>(startupDirectory);
    });
}

// A map whose frame holds the bytes a text-mode line would mangle: 0x00 (control-mode
// opening), 0x0A, 0x0D, 0x11 and 0x13 (cells 5, 6,5, 8,5, 9,5), 0xFF (closing angle 510).
test::SampleMap awkwardMap(const VariantProfile& profile) {
    test::SampleMap map = test::validSampleMap(profile);
    map.settings.opening = QStringLiteral("*");
    map.settings.closing = QStringLiteral("510");
    const QStringList values = {"5", "6,5", "8,5", "9,5", "63,5", "0,5"};
    int i = 0;
    for (int row = 1; row <= profile.rpmRows; ++row) {
        for (int column = 1; column <= profile.mapColumns; ++column)
            map.table.setCell(column, row, values.at(i++ % values.size()));
    }
    return map;
}

// The frame as the device must see it, from the documented layout: mode 0x83 (rising
// input), closing 510 degrees -> 0xFF, 12000 rpm -> 3125 (0x35, 0x0C), opening 0x00 in
// control mode, 4 cylinders -> 0x4F; the cells row by row from the last one up.
QByteArray documentedFrame(const VariantProfile& p, const test::SampleMap& map) {
    QByteArray frame(p.frameLength, '\0');
    frame[0] = char(0x83);
    frame[1] = char(0xFF);
    frame[2] = char(0x35);
    frame[63] = char(0x0C);
    frame[64] = char(0x00);
    frame[65] = char(0x0C);
    frame[p.frameLength - 1] = char(0x4F);
    const int lastBlockRow = p.mapColumns == 8 ? 15 : 30; // blocks A and B end at this row
    auto halfUnits = [&](int column, int row) {
        return char(
            qRound(QString(map.table.cell(column, row)).replace(u',', u'.').toDouble() * 2));
    };
    for (int row = 1; row <= p.rpmRows; ++row) {
        for (int column = 1; column <= p.mapColumns; ++column) {
            int index = 0;
            if (row > lastBlockRow) {
                index = 126 + (p.rpmRows - row) * p.mapColumns + (p.mapColumns - column);
            } else {
                const int k = (lastBlockRow - row) * p.mapColumns + (p.mapColumns - column);
                index = k <= 59 ? 3 + k : 6 + k;
            }
            frame[index] = halfUnits(column, row);
        }
    }
    return frame;
}

} // namespace

class PtyDownloadTest : public QObject {
    Q_OBJECT

private slots:
    void downloadReachesTheOtherEnd_data() {
        QTest::addColumn<const VariantProfile*>("profile");
        QTest::addColumn<bool>("readWhileSending");
        for (const VariantProfile* p : profiles::all()) {
            QTest::newRow(qPrintable(p->programName + " read while sending")) << p << true;
            QTest::newRow(qPrintable(p->programName + " read after the message")) << p << false;
        }
    }
    void downloadReachesTheOtherEnd() {
        QFETCH(const VariantProfile*, profile);
        QFETCH(bool, readWhileSending);
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        FormFixture fixture(*profile);
        QVERIFY(QFile::link(pty.slavePath(), fixture.pathOf(QStringLiteral("COM1"))));
        useRealSerialPort(fixture);
        TForm1& form = fixture.start();
        const test::SampleMap map = awkwardMap(*profile);
        form.mapModel->setTable(map.table);
        form.Panel1->setSettings(map.settings);
        form.LetoltBtn->setEnabled(true);
        fixture.prompter().clear();

        const qsizetype wireSize = profile->frameLength * 3;
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QVERIFY2(fixture.prompter().records().isEmpty(),
                 qPrintable(fixture.prompter().errors().join(u'|')));
        QVERIFY(form.Timer1->isActive());
        QVERIFY(pty.readAvailable().isEmpty()); // nothing before the tick

        QByteArray wire;
        if (readWhileSending) {
            wire = pty.readWithEvents(wireSize, kWaitMs);
            qInfo("%s: click to last of %lld bytes read: %lld ms", qPrintable(profile->programName),
                  qlonglong(wire.size()), qlonglong(clock.elapsed()));
        }
        QVERIFY(QTest::qWaitFor([&] { return !fixture.prompter().messages().isEmpty(); }, kWaitMs));
        QCOMPARE(fixture.prompter().messages(), QStringList({"A letöltés befejezve!"}));
        QVERIFY(!form.MSComm1->isOpen());
        QVERIFY(!form.Timer1->isActive());
        // Every byte left before the port was released, none after.
        QTest::qWait(100);
        wire += pty.readAvailable();

        QCOMPARE(wire.size(), wireSize);
        const QByteArray frame = documentedFrame(*profile, map);
        for (qsizetype i = 0; i < wire.size(); ++i)
            QCOMPARE(quint8(wire.at(i)), quint8(i % 3 == 0 ? frame.at(i / 3) : char(0xFF)));
        QCOMPARE(frame, EncodeDownloadFrame(*profile, form.table(), form.Panel1->settings(),
                                            form.numbers()));
    }

    void missingDeviceIsNamed() {
        FormFixture fixture(profiles::zerwa4());
        const QString link = fixture.pathOf(QStringLiteral("COM1"));
        QVERIFY(QFile::link(fixture.pathOf(QStringLiteral("ttyUSB9")), link));
        useRealSerialPort(fixture);
        TForm1& form = fixture.start();
        const test::SampleMap map = test::validSampleMap(form.profile());
        form.mapModel->setTable(map.table);
        form.Panel1->setSettings(map.settings);
        fixture.prompter().clear();

        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().errors(),
                 QStringList({QStringLiteral("A soros port nem nyitható meg: COM1 (") + link +
                              QStringLiteral(" -> ") + fixture.pathOf(QStringLiteral("ttyUSB9")) +
                              QStringLiteral(")\nNincs ilyen eszköz.")}));
        QVERIFY(!form.Timer1->isActive());
        QVERIFY(!form.MSComm1->isOpen());
    }

    void portInUseIsNamed() {
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        FormFixture fixture(profiles::zerwa8());
        const QString link = fixture.pathOf(QStringLiteral("COM2"));
        QVERIFY(QFile::link(pty.slavePath(), link));
        QSerialPort other;
        other.setPortName(link);
        QVERIFY(other.open(QIODevice::WriteOnly));
        useRealSerialPort(fixture);
        TForm1& form = fixture.start();
        const test::SampleMap map = test::validSampleMap(form.profile());
        form.mapModel->setTable(map.table);
        form.Panel1->setSettings(map.settings);
        form.MSComm1->selectPort(2);
        fixture.prompter().clear();

        form.LetoltBtnClick();
        const QStringList errors = fixture.prompter().errors();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith(QStringLiteral("A soros port nem nyitható meg: COM2 (") +
                                           link),
                 qPrintable(errors.first()));
        QVERIFY(errors.first().endsWith(
            QStringLiteral("\nA portot más program használja, vagy nincs hozzá jogosultság.")));
        QVERIFY(!form.Timer1->isActive());
    }

    void closeLetsQueuedBytesLeave() {
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        QTemporaryDir folder;
        QVERIFY(QFile::link(pty.slavePath(), folder.filePath(QStringLiteral("COM1"))));
        QtSerialPort port(folder.path());
        port.open();
        QVERIFY(port.isOpen());
        QVERIFY(port.setBreak(true));
        QVERIFY(port.setBreak(false));
        QByteArray sent;
        for (int i = 0; i < 247; ++i) {
            const QByteArray unit = downloadframe::unit(char(i));
            QVERIFY(port.write(unit));
            sent += unit;
        }
        std::optional<qint64> undelivered;
        port.close(
            [&](const SerialPort::CloseResult& result) { undelivered = result.undeliveredBytes; });
        QVERIFY(QTest::qWaitFor([&] { return undelivered.has_value(); }, kWaitMs));
        QCOMPARE(*undelivered, 0);
        QVERIFY(!port.isOpen());
        QCOMPARE(pty.readAvailable(), sent);

        // Released: the port opens again, and refuses a second open while open.
        port.open();
        QVERIFY_THROWS_EXCEPTION(SerialPortError, port.open());
        bool released = false;
        port.close([&](const SerialPort::CloseResult&) { released = true; });
        QVERIFY(QTest::qWaitFor([&] { return released; }, kWaitMs));
        QVERIFY(!port.write("x"));
    }

    void closeWaitsForAFullLineWithoutBlocking() {
        // The far side reads nothing at first: the pseudo-terminal fills up and the bytes
        // stay in Qt's buffer, as they would on a slow line.
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        QTemporaryDir folder;
        QVERIFY(QFile::link(pty.slavePath(), folder.filePath(QStringLiteral("COM1"))));
        QByteArray bytes(1 << 20, '\0');
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 7);
        QtSerialPort port(folder.path());
        port.open();
        QVERIFY(port.write(bytes));
        std::optional<qint64> undelivered;
        port.close(
            [&](const SerialPort::CloseResult& result) { undelivered = result.undeliveredBytes; });
        QVERIFY(!undelivered);
        QVERIFY(port.isOpen());
        bool eventsRan = false;
        QTimer::singleShot(20, [&] { eventsRan = true; });
        QVERIFY(QTest::qWaitFor([&] { return eventsRan; }, kWaitMs));
        QVERIFY(!undelivered); // still waiting for the line

        const QByteArray received = pty.readWithEvents(bytes.size(), kWaitMs);
        QVERIFY(QTest::qWaitFor([&] { return undelivered.has_value(); }, kWaitMs));
        QCOMPARE(*undelivered, 0);
        QCOMPARE(received.size(), bytes.size());
        QVERIFY(received == bytes);
    }

    void destroyingThePortWhileClosingLosesNothing() {
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        QTemporaryDir folder;
        QVERIFY(QFile::link(pty.slavePath(), folder.filePath(QStringLiteral("COM1"))));
        const QByteArray bytes(741, char(0x5A));
        bool called = false;
        {
            QtSerialPort port(folder.path());
            port.open();
            QVERIFY(port.write(bytes));
            port.close([&](const SerialPort::CloseResult&) { called = true; });
        }
        QVERIFY(!called);
        QCOMPARE(pty.readAvailable(), bytes);
    }
};

QTEST_MAIN(PtyDownloadTest)
#include "ptydownload_test.moc"
