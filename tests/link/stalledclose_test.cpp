// A line that does not drain: the close is given up at its time limit, the port released, and
// the window neither hangs nor opens the port twice meanwhile.
#include "link/qtserialport.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/portchooserpanel.h"
#include "mainwindow/settingspanel.h"
#include "support/formfixture.h"
#include "support/pseudoterminal.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

using namespace zerwa;
using std::chrono::milliseconds;
using zerwa::test::FormFixture;
using zerwa::test::PseudoTerminal;

namespace {

constexpr int kWaitMs = 15000;

QString timedOut(const QString& port) {
    return "A letöltés nem fejeződött be időben: " + port +
           "\nA portot lezártam, de lehet, hogy az eszköz nem kapta meg a teljes map táblát.";
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
    const int m_handle;
};

// Reads the far side until it stays quiet: the line drains again.
void drain(PseudoTerminal& pty) {
    while (!pty.readWithEvents(1 << 20, 100).isEmpty()) {
    }
}

TForm1& withValidMap(FormFixture& fixture, TForm1& form) {
    const test::SampleMap map(form.profile());
    form.mapModel->setTable(map.table);
    form.Panel1->setSettings(map.settings);
    form.LetoltBtn->setEnabled(true);
    fixture.prompter().records.clear();
    return form;
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
    return withValidMap(fixture, fixture.start());
}

bool waitForMessage(FormFixture& fixture) {
    return QTest::qWaitFor([&] { return !fixture.prompter().messages().isEmpty(); }, kWaitMs);
}

// A download from the click to its message: the whole frame reaches the line.
void downloadCompletely(FormFixture& fixture, PseudoTerminal& pty) {
    TForm1& form = fixture.form();
    QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
    const QByteArray wire = pty.readWithEvents(form.profile().frameLength * 3, kWaitMs);
    QVERIFY(waitForMessage(fixture));
    QCOMPARE(fixture.prompter().records.size(), 1);
    QCOMPARE(fixture.prompter().messages(), QStringList({"A letöltés befejezve!"}));
    QCOMPARE(wire.size(), form.profile().frameLength * 3);
}

} // namespace

class StalledCloseTest : public QObject {
    Q_OBJECT

private slots:
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
        QVERIFY(waitForMessage(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({timedOut(port1)}));
        QVERIFY(!form.MSComm1->isOpen());
        fixture.prompter().records.clear();
        stalled.reset();
        drain(pty);
        downloadCompletely(fixture, pty); // on COM3
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
        withValidMap(fixture, next);
        stalled.reset();
        drain(pty);
        downloadCompletely(fixture, pty);
    }
};

QTEST_MAIN(StalledCloseTest)
#include "stalledclose_test.moc"
