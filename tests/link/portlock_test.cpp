// Who may open a port: the adapter is held by one program at a time, and a COMn entry that
// leads to no serial device is refused saying why.
#include "link/qtserialport.h"
#include "link/serialporterror.h"
#include "support/pseudoterminal.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace zerwa;

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

} // namespace

class PortLockTest : public QObject {
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
        QTest::newRow("link to itself") << "COM1"
                                        << "" << loop;
        QTest::newRow("link to a folder") << "maps"
                                          << "dir" << folder;
        QTest::newRow("folder named COM1") << ""
                                           << "dir" << folder;
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
        if (!linkTarget.isEmpty())
            QVERIFY(QFile::link(target, com1));
        const QString named = linkTarget.isEmpty() ? com1 : com1 + " -> " + target;
        QtSerialPort port(folder.path());
        for (int attempt = 0; attempt < 2; ++attempt) { // a refusal leaves nothing behind
            QCOMPARE(openFailureOf(port), kOpenFailure + named + ")\n" + reason);
            QVERIFY(!port.isOpen());
        }
    }
};

QTEST_GUILESS_MAIN(PortLockTest)
#include "portlock_test.moc"
