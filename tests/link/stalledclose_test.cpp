#include "link/downloadframe.h"
#include "link/qtserialport.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/portchooserpanel.h"
#include "mainwindow/settingspanel.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"
#include "support/programtable.h"
#include "support/pseudoterminal.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <optional>

using namespace zerwa;
using std::chrono::milliseconds;
using zerwa::test::FormFixture;
using zerwa::test::PseudoTerminal;

namespace {

constexpr int kWaitMs = 15000;

QString timedOut(const QString& port) {
    return QStringLiteral("A letöltés nem fejeződött be időben: ") + port +
           QStringLiteral("\nA portot lezártam, de lehet, hogy az eszköz nem kapta meg a teljes "
                          "map táblát.");
}

QString stillSending(const QString& port) {
    return QStringLiteral("A soros port nem nyitható meg: ") + port +
           QStringLiteral("\nA port még az előző letöltés adatait küldi.");
}

// A line that does not drain: the pseudo-terminal is written full while its far side reads
// nothing, so whatever the port writes next stays queued.
class StalledLine {
public:
    explicit StalledLine(const QString& device)
        : m_handle(
              ::open(QFile::encodeName(device).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK)) {
        // The terminal moves what it took on to the far side's buffer in the background and
        // then takes more: it is full once it has refused a few times in a row.
        const QByteArray chunk(4096, 'f');
        for (int refused = 0; m_handle >= 0 && refused < 3;) {
            if (::write(m_handle, chunk.constData(), chunk.size()) > 0) {
                refused = 0;
            } else {
                ++refused;
                QThread::msleep(50);
            }
        }
    }
    ~StalledLine() {
        if (m_handle >= 0)
            ::close(m_handle);
    }
    bool isValid() const { return m_handle >= 0; }

private:
    int m_handle;
};

// Reads the far side until it stays quiet: the line drains again.
void drain(PseudoTerminal& pty) {
    while (!pty.readWithEvents(1 << 20, 100).isEmpty()) {
    }
}

QString linkTo(FormFixture& fixture, const QString& name, const QString& device) {
    const QString link = fixture.pathOf(name);
    QFile::link(device, link);
    return link;
}

TForm1& withValidMap(FormFixture& fixture, TForm1& form) {
    const test::SampleMap map = test::SampleMap(form.profile());
    form.mapModel->setTable(map.table);
    form.Panel1->setSettings(map.settings);
    form.LetoltBtn->setEnabled(true);
    fixture.prompter().records.clear();
    return form;
}

void useRealPort(FormFixture& fixture, CloseTimeLimit limit) {
    fixture.setSerialPortFactory([limit](const QString& folder) -> std::unique_ptr<SerialPort> {
        auto port = std::make_unique<QtSerialPort>(folder);
        port->setCloseTimeLimit(limit);
        return port;
    });
}

QByteArray expectedWire(const TForm1& form) {
    return downloadframe::wireImage(
        EncodeDownloadFrame(form.profile(), form.table(), form.Panel1->settings(), form.numbers()));
}

// A download from the click to its message, with the far side read meanwhile.
void downloadCompletely(FormFixture& fixture, PseudoTerminal& pty) {
    TForm1& form = fixture.form();
    fixture.prompter().records.clear();
    QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
    const QByteArray wire = pty.readWithEvents(form.profile().frameLength * 3, kWaitMs);
    QVERIFY(QTest::qWaitFor([&] { return !fixture.prompter().messages().isEmpty(); }, kWaitMs));
    QCOMPARE(fixture.prompter().records.size(), 1);
    QCOMPARE(fixture.prompter().messages(), QStringList({"A letöltés befejezve!"}));
    QCOMPARE(wire, expectedWire(form));
}

bool waitForTheTick(TForm1& form) {
    return QTest::qWaitFor([&] { return !form.Timer1->isActive(); }, kWaitMs);
}

} // namespace

class StalledCloseTest : public QObject {
    Q_OBJECT

private slots:
    void stalledLineIsGivenUpAndThePortWorksAgain() {
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        QTemporaryDir folder;
        const QString link = folder.filePath(QStringLiteral("COM1"));
        QVERIFY(QFile::link(pty.slavePath(), link));
        StalledLine stalled(pty.slavePath());
        QVERIFY(stalled.isValid());

        QtSerialPort port(folder.path());
        port.setCloseTimeLimit({2, milliseconds(0)}); // 60 bytes: 2 x 250 ms
        port.open();
        QVERIFY(port.write(QByteArray(60, 'Z')));
        std::optional<SerialPort::CloseResult> result;
        port.close([&](const SerialPort::CloseResult& r) { result = r; });
        QVERIFY(QTest::qWaitFor([&] { return result.has_value(); }, kWaitMs));
        QVERIFY(result->timedOut);
        QCOMPARE(result->undeliveredBytes, 60);
        QCOMPARE(result->port, "COM1 (" + link + " -> " + pty.slavePath() + ')');
        QVERIFY(!port.isOpen());

        drain(pty);
        port.setCloseTimeLimit({});
        port.open();
        const QByteArray wire = downloadframe::wireImage(QByteArray(127, char(0x0D)));
        QVERIFY(port.write(wire));
        result.reset();
        port.close([&](const SerialPort::CloseResult& r) { result = r; });
        const QByteArray received = pty.readWithEvents(wire.size(), kWaitMs);
        QVERIFY(QTest::qWaitFor([&] { return result.has_value(); }, kWaitMs));
        QVERIFY(!result->timedOut);
        QCOMPARE(result->undeliveredBytes, 0);
        QCOMPARE(received, wire);
    }

    // Repeated clicks and another port while the line stalls: each click is refused naming
    // the port still open, one message ends the download, and the next one works.
    void clicksAndPortChangeDuringAStalledClose() {
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        FormFixture fixture(profiles::zerwa8());
        const QString com1 = linkTo(fixture, QStringLiteral("COM1"), pty.slavePath());
        linkTo(fixture, QStringLiteral("COM3"), pty.slavePath());
        useRealPort(fixture, {0, milliseconds(3000)});
        TForm1& form = withValidMap(fixture, fixture.start());
        const QString port1 = "COM1 (" + com1 + " -> " + pty.slavePath() + ')';
        StalledLine stalled(pty.slavePath());
        QVERIFY(stalled.isValid());

        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QVERIFY(waitForTheTick(form));
        QVERIFY(form.MSComm1->isOpen());
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QTest::mouseClick(form.ComBtn, Qt::LeftButton);
        form.Panel3->Panel5->ComboBox2->setCurrentIndex(2);
        QTest::mouseClick(form.Panel3->Panel5->ComOkBtn, Qt::LeftButton);
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com3"));
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().errors(), QStringList(3, stillSending(port1)));
        QVERIFY(!form.Timer1->isActive());

        QVERIFY(QTest::qWaitFor([&] { return !fixture.prompter().messages().isEmpty(); }, kWaitMs));
        QCOMPARE(fixture.prompter().messages(), QStringList({timedOut(port1)}));
        QVERIFY(!form.MSComm1->isOpen());

        drain(pty);
        downloadCompletely(fixture, pty); // on COM3
    }

    void closingTheWindowDuringADownload_data() {
        QTest::addColumn<bool>("afterTheTick");
        QTest::newRow("during the break") << false;
        QTest::newRow("while the line stalls") << true;
    }
    void closingTheWindowDuringADownload() {
        QFETCH(bool, afterTheTick);
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        FormFixture fixture(profiles::zerwa4_60());
        linkTo(fixture, QStringLiteral("COM1"), pty.slavePath());
        constexpr int kLimitMs = 1000;
        useRealPort(fixture, {0, milliseconds(kLimitMs)});
        TForm1& form = withValidMap(fixture, fixture.start());
        std::optional<StalledLine> stalled(pty.slavePath());
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        if (afterTheTick)
            QVERIFY(waitForTheTick(form));
        QVERIFY(form.MSComm1->isOpen());

        QElapsedTimer clock;
        clock.start();
        TForm1& next = fixture.restart();
        // The close is given up at its limit rather than waiting for the line (the slack
        // is for a busy machine; a close that waited for the line would never return).
        QVERIFY2(clock.elapsed() < kLimitMs + 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(fixture.prompter().records.isEmpty()); // the closed window reports nothing
        withValidMap(fixture, next);

        stalled.reset();
        drain(pty);
        downloadCompletely(fixture, pty);
    }

    void timedOutCloseIsReportedOnce() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = withValidMap(fixture, fixture.start());
        fixture.serial().closeTimesOut = true;
        fixture.serial().releaseDelayMs = 50;
        form.LetoltBtnClick();
        QVERIFY(QTest::qWaitFor([&] { return !fixture.prompter().messages().isEmpty(); }, kWaitMs));
        QCOMPARE(fixture.prompter().records.size(), 1);
        QCOMPARE(fixture.prompter().messages(), QStringList({timedOut(QStringLiteral("COM1"))}));
        QVERIFY(!form.MSComm1->isOpen());

        fixture.serial().closeTimesOut = false;
        fixture.prompter().records.clear();
        form.LetoltBtnClick();
        QVERIFY(QTest::qWaitFor([&] { return !fixture.prompter().messages().isEmpty(); }, kWaitMs));
        QCOMPARE(fixture.prompter().messages(), QStringList({"A letöltés befejezve!"}));
    }
};

QTEST_MAIN(StalledCloseTest)
#include "stalledclose_test.moc"
