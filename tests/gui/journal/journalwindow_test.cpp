// SPDX-License-Identifier: GPL-3.0-or-later
// The download journal through the main window: the record each download leaves, and the
// journal window (Ctrl+L) as the user works with it. And programs that download in processes of
// their own (see downloadchild.cpp): one killed during the break or the sending, three at once.
// The journal keeps a whole record of each download that opened the port, and what it held
// before stays as it was.
#include "core/journal/journal.h"
#include "core/journal/journalmap.h"
#include "core/support/pseudoterminal.h"
#include "core/support/samplerecord.h"
#include "document/model/mapdocument.h"
#include "gui/journal/journaltablemodel.h"
#include "gui/journal/journalwindow.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/support/formfixture.h"

#include <QProcess>
#include <QTableView>

using namespace zerwa;
using test::FormFixture;
using Kind = test::ScriptedPrompter::Kind;
using Op = test::SerialRecorder::Op;
using test::ProgramFacts;
using test::PseudoTerminal;

namespace {

const QString kDone = QStringLiteral("A letöltés befejezve!");

// The journal's whole records, newest first.
QList<JournalRecord> records(const FormFixture& fixture) {
    const Journal journal(fixture.journalFolder());
    QList<JournalRecord> all;
    for (const JournalEntry& entry : journal.list().entries)
        if (!entry.isDamaged())
            all << *journal.read(entry.id).record;
    return all;
}

bool download(FormFixture& fixture) {
    fixture.prompter().records.clear();
    QTest::mouseClick(fixture.form().LetoltBtn, Qt::LeftButton);
    return fixture.waitForMessage();
}

constexpr int kWaitMs = 15000;

// A program's start-up folder: its map, its working file naming it, and COM1 leading to the
// pseudo-terminal.
struct ProgramFolder {
    QTemporaryDir dir;
    PseudoTerminal pty;

    explicit ProgramFolder(const ProgramFacts& f) {
        test::writeMap(dir.filePath("elso.qmt"), f.profile(), test::SampleMap(f.profile()));
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

class JournalWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The record is written at the click with the map as it stands, and again before the break
    // is cleared with the map edited meanwhile: it holds what was sent.
    void aCellEditedDuringTheBreakIsRecordedAsSent() {
        FormFixture fixture(profiles::zerwa4());
        fixture.start();
        TForm1& form = fixture.withMap(test::SampleMap(profiles::zerwa4()));
        const MapTable atClick = form.table();
        std::optional<JournalRecord> atBreakOff;
        fixture.serial().onOp = [&](Op op) {
            if (op == Op::BreakOff)
                atBreakOff = records(fixture).value(0);
        };
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        const QList<JournalRecord> inBreak = records(fixture);
        QCOMPARE(inBreak.size(), 1);
        QCOMPARE(inBreak.at(0).summary.outcome, JournalOutcome::Unknown);
        QCOMPARE(journalmap::mapOf(inBreak.at(0))->table, atClick);
        form.mapModel->setCellText(4, 30, "20"); // frame index 3
        QVERIFY(fixture.waitForMessage());
        QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
        const QList<JournalRecord> sent = records(fixture);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).summary.outcome, JournalOutcome::Delivered);
        QCOMPARE(sent.at(0).wire, fixture.serial().written());
        QVERIFY(sent.at(0).wire != inBreak.at(0).wire);
        QCOMPARE(journalmap::mapOf(sent.at(0))->table, form.table());
        QVERIFY(atBreakOff);
        QCOMPARE(atBreakOff->wire, sent.at(0).wire);
        QCOMPARE(atBreakOff->summary.outcome, JournalOutcome::Unknown);

        // Edited so that it may not be sent: nothing goes out, and the record says why.
        fixture.serial().events.clear();
        fixture.prompter().records.clear();
        QTest::mouseClick(form.LetoltBtn, Qt::LeftButton);
        form.mapModel->setCellText(4, 30, "x");
        QVERIFY(fixture.waitForMessage());
        QCOMPARE(fixture.prompter().messages(),
                 QStringList({"Hiba az adattáblán!\n Kérem ellenőrizze az adatokat!"}));
        QCOMPARE(fixture.serial().ops(),
                 QList<Op>({Op::Open, Op::BreakOn, Op::BreakOff, Op::Close}));
        const JournalSummary refused = records(fixture).at(0).summary;
        QCOMPARE(std::tuple(refused.outcome, refused.units, refused.error),
                 std::tuple(JournalOutcome::Failed, 0, fixture.prompter().messages().at(0)));
    }

    // A journal folder that cannot take the record: the download goes all the same, and one
    // more message after its own says where the record should have gone and why not.
    void aRecordThatCannotBeWrittenStopsNothing() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("naplo"), nowhere = dir.filePath("nincs");
        for (const bool link : {false, true}) {
            QFile::remove(folder);
            QVERIFY(link ? QFile::link(nowhere, folder) : QFile(folder).open(QIODevice::WriteOnly));
            FormFixture fixture(profiles::zerwa4_60());
            fixture.setJournalFolder(folder);
            fixture.start();
            fixture.withMap(test::SampleMap(profiles::zerwa4_60()));
            QVERIFY(download(fixture));
            QCOMPARE(fixture.serial().ops().count(Op::Write), 247);
            QCOMPARE(fixture.prompter().messages(),
                     QStringList({kDone, "Nem tudom írni a letöltési naplót!\n" + folder + '\n' +
                                             (link ? "A szimbolikus link nem létező helyre "
                                                     "mutat: " +
                                                         nowhere
                                                   : "Ezen a néven nem mappa, hanem állomány "
                                                     "van.")}));
        }
    }

    // Ctrl+L in a cell: this program's records, newest first, listed again when a download
    // ends; a note typed in place; a record's map loaded as Load loads one, or saved as it is.
    void theJournalWindowAsTheUserHasIt() {
        FormFixture fixture(profiles::zerwa8());
        fixture.startShown();
        TForm1& form = fixture.withMap(test::SampleMap(profiles::zerwa8()));
        form.document().setCurrentMapFileName(fixture.pathOf("kati.qmt"));
        QVERIFY(download(fixture));
        form.document().setCurrentMapFileName(fixture.pathOf("masik.qmt"));
        form.mapModel->setCellText(1, 1, "12,5");
        QVERIFY(download(fixture));
        const Journal journal(fixture.journalFolder());
        journal.create(test::sampleRecord(profiles::zerwa4())); // another program's
        test::writeBytes(journal.folder() + "/idegen.txt", "not a record");

        QTest::keyClick(fixture.editorOn({2, 3}), Qt::Key_L, Qt::ControlModifier);
        JournalWindow* window = form.journalWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Letöltési napló"));
        const QAbstractItemModel* rows = window->table->model();
        auto row = [rows](int r) {
            QStringList texts;
            for (int c = 0; c < JournalTableModel::ColumnCount; ++c)
                texts << rows->index(r, c).data().toString();
            return texts.mid(1).join(u'|'); // the time is the clock's
        };
        const QList<JournalRecord> all = records(fixture);
        QCOMPARE(rows->rowCount(), 3);
        QCOMPARE(row(0), "COM1|" + fixture.pathOf("masik.qmt") + "|befejezve||" +
                             all.at(0).summary.sha256.left(8));
        QCOMPARE(row(2), QStringLiteral("|idegen.txt|sérült állomány||"));
        window->table->selectRow(2);
        QVERIFY(!window->loadButton->isEnabled() && !window->saveAsButton->isEnabled());

        // A note typed in place; a download that ends meanwhile is listed once it is saved.
        window->activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == window);
        const QRect note = window->table->visualRect(rows->index(1, JournalTableModel::Note));
        QTest::mouseClick(window->table->viewport(), Qt::LeftButton, {}, note.center());
        QTest::keyClick(window->table, Qt::Key_F2);
        auto* editor = window->table->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor && editor->hasFocus());
        QTest::keyClicks(editor, "ABC-123");
        QVERIFY(download(fixture));
        QCOMPARE(fixture.prompter().messages(), QStringList({kDone}));
        QTest::keyClicks(editor, " Kati");
        QCOMPARE(rows->rowCount(), 3);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(rows->rowCount(), 4);
        const QList<JournalRecord> now = records(fixture);
        QCOMPARE(now.at(2).summary.note, QStringLiteral("ABC-123 Kati"));
        QCOMPARE(rows->index(2, JournalTableModel::Note).data().toString(), now.at(2).summary.note);

        QTest::mouseClick(window->loadButton, Qt::LeftButton); // the first download
        QCOMPARE(form.table(), journalmap::mapOf(now.at(2))->table);
        QCOMPARE(form.table().cell(1, 1), QStringLiteral("1"));
        QVERIFY(form.LetoltBtn->isEnabled() && form.document().history().count() == 0);
        fixture.prompter().records.clear();
        fixture.prompter().saveFiles = {std::nullopt};
        QTest::mouseClick(form.SaveBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().texts(Kind::SaveFile),
                 QStringList({fixture.pathOf("kati.qmt")}));

        form.mapModel->setCellText(1, 1, "7");
        test::writeBytes(fixture.pathOf("regi.qmt"), "régi");
        fixture.prompter().records.clear();
        fixture.prompter().saveFiles = {fixture.pathOf("regi.qmt")};
        fixture.prompter().yesNo = {true};
        QTest::mouseClick(window->saveAsButton, Qt::LeftButton);
        QCOMPARE(test::readBytes(fixture.pathOf("regi.qmt")), now.at(2).map);
        QCOMPARE(fixture.prompter().texts(Kind::YesNo),
                 QStringList({"A file már létezik. Felülírja?"}));
        QCOMPARE(fixture.prompter().messages(), QStringList({"Az adatbázis elmentve!"}));
        QCOMPARE(form.table().cell(1, 1), QStringLiteral("7")); // the map on screen stays
        QVERIFY(!QFile::exists(fixture.pathOf("Editv8.txt")));
    }

    // Killed during the break, then during the sending (the frame waits on a stalled line).
    void killedDuringADownload() {
        const ProgramFacts& f = test::programFacts().at(1);
        QTemporaryDir journalDir;
        const Journal journal(journalDir.path());
        ProgramFolder first(f);
        QProcess earlier;
        first.start(earlier, f, journal.folder());
        QVERIFY(waitForLine(earlier, kDone.toUtf8()));
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
            QVERIFY(waitForLine(*child, kDone.toUtf8()));
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

QTEST_MAIN(JournalWindowTest)
#include "journalwindow_test.moc"
