// SPDX-License-Identifier: GPL-3.0-or-later
// Programs that download in processes of their own (see downloadchild.cpp): one killed during
// the break or the sending, three at once. The journal keeps a whole record of each download
// that opened the port, and what it held before stays as it was.
#include "core/journal/journal.h"
#include "core/storage/mapfile.h"
#include "core/support/programtable.h"
#include "core/support/pseudoterminal.h"
#include "core/support/testfiles.h"

#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zerwa;
using test::ProgramFacts;
using test::PseudoTerminal;

namespace {

constexpr int kWaitMs = 15000;

// A program's start-up folder: its map, its working file naming it, and COM1 leading to the
// pseudo-terminal.
struct ProgramFolder {
    QTemporaryDir dir;
    PseudoTerminal pty;

    explicit ProgramFolder(const ProgramFacts& f) {
        const test::SampleMap map(f.profile());
        test::writeBytes(dir.filePath("elso.qmt"),
                         *mapfile::encode(f.profile(), {map.settings, map.table}));
        test::writeBytes(dir.filePath(f.workingFile), "elso.qmt\r\n1\r\n");
        QFile::link(pty.slavePath(), dir.filePath("COM1"));
    }
    void start(QProcess& child, const ProgramFacts& f, const QString& journal) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ZERWA_JOURNAL_DIR", journal);
        child.setProcessEnvironment(environment);
        child.setWorkingDirectory(dir.path());
        child.start(QStringLiteral(DOWNLOAD_CHILD), {f.name});
    }
};

// Waits until the child has said `line` on a line of its own.
bool waitForLine(QProcess& child, const QByteArray& line) {
    QByteArray said;
    while (!said.split('\n').contains(line) && child.waitForReadyRead(kWaitMs))
        said += child.readAllStandardOutput();
    return said.split('\n').contains(line);
}

} // namespace

class JournalProcessTest : public QObject {
    Q_OBJECT

private slots:
    // Killed during the break, then during the sending (the frame waits on a stalled line).
    void killedDuringADownload() {
        const ProgramFacts& f = test::programFacts().at(1);
        QTemporaryDir journalDir;
        const Journal journal(journalDir.path());
        ProgramFolder first(f);
        QProcess earlier;
        first.start(earlier, f, journal.folder());
        QVERIFY(waitForLine(earlier, "A letöltés befejezve!"));
        QVERIFY(earlier.waitForFinished(kWaitMs));
        const QString earlierId = journal.list().entries.value(0).id;
        const QByteArray earlierRecord = test::readBytes(journal.pathOf(earlierId));

        for (const QByteArray moment : {"break", "sending"}) {
            ProgramFolder folder(f); // a killed program leaves its terminal taken
            const auto stalled = moment == "sending"
                                     ? std::make_unique<test::StalledLine>(folder.pty.slavePath())
                                     : nullptr;
            QProcess child;
            folder.start(child, f, journal.folder());
            QVERIFY(waitForLine(child, moment));
            child.kill();
            QVERIFY(child.waitForFinished(kWaitMs));
            QVERIFY(stalled || folder.pty.readAvailable().isEmpty());
        }
        const QList<JournalEntry> entries = journal.list().entries;
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries.at(2).id, earlierId);
        QCOMPARE(test::readBytes(journal.pathOf(earlierId)), earlierRecord);
        for (int i = 0; i < 2; ++i) {
            const auto killed = journal.read(entries.at(i).id).record;
            QVERIFY(killed);
            QCOMPARE(killed->summary.outcome, JournalOutcome::Unknown);
            QCOMPARE(killed->wire, journal.read(earlierId).record->wire);
        }
    }

    void threeProgramsAtOnce() {
        QTemporaryDir journalDir;
        const Journal journal(journalDir.path());
        std::vector<std::unique_ptr<ProgramFolder>> folders;
        std::vector<std::unique_ptr<QProcess>> children;
        for (const ProgramFacts& f : test::programFacts()) {
            folders.push_back(std::make_unique<ProgramFolder>(f));
            children.push_back(std::make_unique<QProcess>());
            folders.back()->start(*children.back(), f, journal.folder());
        }
        for (const auto& child : children) {
            QVERIFY(waitForLine(*child, "A letöltés befejezve!"));
            QVERIFY(child->waitForFinished(kWaitMs));
        }
        QMap<QString, QByteArray> sent; // by program
        for (const JournalEntry& entry : journal.list().entries) {
            const auto record = journal.read(entry.id).record;
            QVERIFY(record);
            QCOMPARE(record->summary.outcome, JournalOutcome::Delivered);
            sent.insert(record->summary.program, record->wire);
        }
        QCOMPARE(sent.keys(), QStringList({"zerwa4", "zerwa4_60", "zerwa8"}));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(folders.at(i)->pty.readAvailable(),
                     sent.value(test::programFacts().at(i).name));
    }
};

QTEST_MAIN(JournalProcessTest)
#include "journalprocess_test.moc"
