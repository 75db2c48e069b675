#include "link/qtserialport.h"
#include "link/serialporterror.h"
#include "support/pseudoterminal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <memory>

using namespace zerwa;
using zerwa::test::PseudoTerminal;

namespace {

const QString kOpenFailure = QStringLiteral("A soros port nem nyitható meg: ");
const QString kInUse =
    QStringLiteral("\nA portot más program használja, vagy nincs hozzá jogosultság.");

// Whoever holds the adapter before the program under test tries it.
enum class Holder {
    OtherFolder,   // the program started from another folder, with its own COM1 link
    SameFolder,    // the program started twice from one folder
    AdvisoryLock,  // a terminal program that takes an advisory lock
    ExclusiveMode, // a terminal program (or Qt) that sets the device's exclusive mode
};

// Holds the device until destroyed.
class DeviceHolder {
public:
    DeviceHolder(Holder holder, const QString& device, const QString& programFolder) {
        if (holder == Holder::OtherFolder || holder == Holder::SameFolder) {
            QString folder = programFolder;
            if (holder == Holder::OtherFolder) {
                folder = m_folder.path();
                QFile::link(device, m_folder.filePath(QStringLiteral("COM1")));
            }
            m_program = std::make_unique<QtSerialPort>(folder);
            m_program->open();
            m_held = m_program->isOpen();
            return;
        }
        m_handle = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY);
        m_held = m_handle >= 0 &&
                 (holder == Holder::AdvisoryLock ? ::flock(m_handle, LOCK_EX | LOCK_NB) == 0
                                                 : ::ioctl(m_handle, TIOCEXCL) == 0);
    }
    ~DeviceHolder() {
        if (m_handle >= 0) {
            ::ioctl(m_handle, TIOCNXCL);
            ::close(m_handle);
        }
    }
    bool holds() const { return m_held; }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<QtSerialPort> m_program;
    int m_handle = -1;
    bool m_held = false;
};

QString openFailureOf(QtSerialPort& port) {
    try {
        port.open();
    } catch (const SerialPortError& error) {
        return error.message();
    }
    return QStringLiteral("(opened)");
}

} // namespace

class PortLockTest : public QObject {
    Q_OBJECT

private slots:
    void secondOpenerIsRefused_data() {
        QTest::addColumn<Holder>("holder");
        QTest::newRow("program in another folder") << Holder::OtherFolder;
        QTest::newRow("program started twice in one folder") << Holder::SameFolder;
        QTest::newRow("advisory lock") << Holder::AdvisoryLock;
        QTest::newRow("exclusive mode") << Holder::ExclusiveMode;
    }
    void secondOpenerIsRefused() {
        QFETCH(Holder, holder);
        PseudoTerminal pty;
        QVERIFY(pty.isValid());
        QTemporaryDir folder;
        const QString link = folder.filePath(QStringLiteral("COM1"));
        QVERIFY(QFile::link(pty.slavePath(), link));
        QtSerialPort port(folder.path());
        {
            DeviceHolder other(holder, pty.slavePath(), folder.path());
            QVERIFY(other.holds());
            QCOMPARE(openFailureOf(port),
                     kOpenFailure + "COM1 (" + link + " -> " + pty.slavePath() + ')' + kInUse);
            QVERIFY(!port.isOpen());
        }
        // Released by the other side: the device is free again, and opened by its own name.
        port.open();
        QVERIFY(port.isOpen());
        QCOMPARE(port.openDevice(), pty.slavePath());
    }

    void pathThatLeadsToNoDeviceIsNamed_data() {
        QTest::addColumn<QString>("linkTarget"); // relative to the folder; empty: no link
        QTest::addColumn<QString>("make");       // what is made at the target: dir, file
        QTest::addColumn<QString>("reason");
        QTest::newRow("link to itself")
            << "COM1"
            << ""
            << "A szimbolikus link körbe mutat, nem vezet el eszközhöz.";
        QTest::newRow("links in a circle")
            << "loop"
            << "loop->COM1"
            << "A szimbolikus link körbe mutat, nem vezet el eszközhöz.";
        QTest::newRow("link to a folder") << "maps"
                                          << "dir"
                                          << "Ez egy mappa, nem soros port.";
        QTest::newRow("folder named COM1") << ""
                                           << "dir"
                                           << "Ez egy mappa, nem soros port.";
        QTest::newRow("link to a file") << "notes.txt"
                                        << "file"
                                        << "Ez nem soros port.";
        QTest::newRow("link to nowhere") << "ttyUSB7"
                                         << ""
                                         << "Nincs ilyen eszköz.";
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
        else if (make.contains("->"))
            QVERIFY(QFile::link(folder.filePath(make.section("->", 1)), target));
        if (!linkTarget.isEmpty())
            QVERIFY(QFile::link(target, com1));
        const QString named =
            linkTarget.isEmpty() ? com1 : QString(com1 + QStringLiteral(" -> ") + target);

        QtSerialPort port(folder.path());
        for (int attempt = 0; attempt < 2; ++attempt) {
            QCOMPARE(openFailureOf(port), kOpenFailure + "COM1 (" + named + ")\n" + reason);
            QVERIFY(!port.isOpen());
        }
    }
};

QTEST_GUILESS_MAIN(PortLockTest)
#include "portlock_test.moc"
