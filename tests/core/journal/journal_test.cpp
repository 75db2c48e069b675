// SPDX-License-Identifier: GPL-3.0-or-later
// The download journal: a record byte for byte, what its reader refuses, where the journal
// lies, and the folder as several writers, a full disk and other hands leave it.
#include "core/journal/journal.h"
#include "core/journal/journalfolder.h"
#include "core/support/gtestqt.h"
#include "core/support/samplerecord.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

QByteArray sha256(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The bytes with a fresh check line, as if the record had been written so.
QByteArray resealed(QByteArray bytes) {
    bytes.truncate(bytes.lastIndexOf("check "));
    return bytes + "check " + sha256(bytes) + '\n';
}

const VariantProfile& zerwa4 = profiles::zerwa4();

TEST(JournalRecord, ByteForByte) {
    const test::SampleMap map = test::SampleMap(zerwa4).fill("10");
    const QByteArray mapBytes = *mapfile::encode(zerwa4, {map.settings, map.table});
    const QByteArray wire = test::wireOf(test::workedExampleFrame(127));
    QByteArray expected = "zerwa-journal-record 1\ntime 2025-03-14T11:15:02.123+01:00\n"
                          "program zerwa4\nport COM1\ndevice /dev/ttyUSB0\n"
                          "file /home/kati/elso.qmt\ncaption \ndecimal ,\noutcome delivered\n"
                          "units 127\nerror \nnote Kov\xC3\xA1"
                          "cs \xC3\xBAr\\\\ABC-123\\nk\xC3\xA9k\n"
                          "sha256 " +
                          sha256(wire) + "\nmap windows-1250 " +
                          QByteArray::number(mapBytes.size()) + '\n' + mapBytes + "\nwire 381\n" +
                          wire + '\n';
    expected += "check " + sha256(expected) + '\n';
    const JournalRecord record = test::sampleRecord(zerwa4);
    EXPECT_EQ(journalformat::encode(record), expected);
    EXPECT_EQ(journalformat::decode(expected).record, record);
    for (const QString offset : {"+00:00", "-03:30", "+13:45"}) {
        const QString time = "2025-10-26T02:30:00.000" + offset;
        EXPECT_EQ(journalformat::timeText(journalformat::parseTime(time).value()), time);
    }
}

TEST(JournalRecord, ReaderTakesAWholeRecordAsWrittenAndNothingElse) {
    const QByteArray whole = journalformat::encode(test::sampleRecord(zerwa4));
    for (qsizetype size = 0; size < whole.size(); ++size)
        ASSERT_FALSE(journalformat::decode(whole.first(size)).record) << "cut at " << size;
    for (qsizetype at = 0; at < whole.size(); ++at) {
        QByteArray changed = whole;
        changed[at] = char(changed.at(at) ^ 0x20);
        ASSERT_FALSE(journalformat::decode(changed).record) << "changed at " << at;
    }
    EXPECT_FALSE(journalformat::decode(whole + '\n').record);
    // Changed and sealed again: each field is still checked on its own.
    const struct {
        QByteArray from, to, damage;
    } cases[] = {
        {"\n\x83\xFF\xFF", "\n\x84\xFF\xFF", "the wire image does not match its sha256"},
        {"\n\x83\xFF\xFF", "\n\x83\xFF\xFE", "the wire image is not a frame of its program"},
        {"\r\n4\r\n12000", "\r\n7\r\n12000", "the map is not one its program writes"},
        {"windows-1250", "utf-8", "the map is not one its program writes"},
        {"units 127", "units 126", "bad number of units"},
        {"outcome delivered", "outcome sent", "not written as the program writes it"},
        {"+01:00\n", "+1:00\n", "not written as the program writes it"},
        {"\\\\ABC", "\\qABC", "no readable note line"},
        {"program zerwa4", "program zerwa5", "unknown program"},
        {"zerwa-journal-record 1", "zerwa-journal-record 2", "not a journal record"}};
    for (const auto& c : cases) {
        const auto decoded =
            journalformat::decode(resealed(QByteArray(whole).replace(c.from, c.to)));
        EXPECT_FALSE(decoded.record) << c.to.toStdString();
        EXPECT_TRUE(decoded.damage.contains(QString::fromLatin1(c.damage))) << decoded.damage;
    }
}

TEST(JournalFolder, TheThreeVariablesInTurnAndNoOther) {
    const struct {
        QString own, dataHome, home, folder;
    } cases[] = {{"/j", "/x", "/h", "/j"},
                 {"naplo/", "/x", "/h", "/work/naplo"}, // from the current folder
                 {"", "/x", "/h", "/x/zerwa/journal"},
                 {"", "x", "/h", "/h/.local/share/zerwa/journal"}, // not a base folder
                 {"", "", "/h", "/h/.local/share/zerwa/journal"},
                 {"", "", "", ""}};
    QSet<QString> asked;
    for (const auto& c : cases) {
        const auto variable = [&](const char* name) {
            asked << name;
            return QString(name) == "ZERWA_JOURNAL_DIR" ? c.own
                   : QString(name) == "HOME"            ? c.home
                                                        : c.dataHome;
        };
        EXPECT_EQ(journalfolder::locate(variable, "/work"), c.folder);
    }
    EXPECT_EQ(asked, QSet<QString>({"ZERWA_JOURNAL_DIR", "XDG_DATA_HOME", "HOME"}));
}

// Records newest first under ids of their own; every other file is listed as damaged and
// never written over; the index follows the files, and a broken one is made again.
TEST(Journal, ListsRecordsAndLeavesOtherFilesAlone) {
    QTemporaryDir dir;
    const Journal journal(dir.filePath("journal")); // made by the first record
    EXPECT_EQ(journal.list().entries.size(), 0);
    JournalRecord newer = test::sampleRecord(profiles::zerwa8());
    newer.summary.time = newer.summary.time.addSecs(60);
    const QString newerId = journal.create(newer).id;
    const QString olderId = journal.create(test::sampleRecord(zerwa4)).id;
    EXPECT_TRUE(QRegularExpression("^20250314-111[56]02-[0-9a-f]{4}$").match(olderId).hasMatch());
    const QByteArray whole = test::readBytes(journal.pathOf(olderId));
    const QDir folder(journal.folder());
    test::writeBytes(folder.filePath("notes.txt"), "not a record");
    test::writeBytes(folder.filePath("cut.record"), whole.first(whole.size() / 2));
    test::writeBytes(folder.filePath(".leftover.tmp"), whole.first(10));
    QFile::link(journal.pathOf(olderId), folder.filePath("link.record"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.filePath("pipe")).constData(), 0600), 0);

    const QStringList order = {newerId, olderId, "pipe", "notes.txt", "link", "cut"};
    for (int round = 0; round < 3; ++round) { // without an index, with it, with a broken one
        const Journal::Listing listing = journal.list();
        QStringList ids;
        for (const JournalEntry& entry : listing.entries)
            ids << entry.id + (entry.isDamaged() ? "!" : "");
        EXPECT_EQ(ids, QStringList({newerId, olderId, "pipe!", "notes.txt!", "link!", "cut!"}));
        EXPECT_EQ(listing.entries.at(1).summary->note, round ? "kék" : "Kovács úr\\ABC-123\nkék");
        ASSERT_EQ(journal.setNote("cut", "x")->kind, JournalProblem::Kind::Damaged);
        ASSERT_FALSE(journal.setNote(olderId, "kék"));
        if (round == 1)
            test::writeBytes(folder.filePath(".index"), "zerwa-journal-index 1\nname x\n");
    }
    EXPECT_EQ(test::readBytes(folder.filePath("cut.record")), whole.first(whole.size() / 2));
    EXPECT_EQ(journal.read("notes.txt").problem->kind, JournalProblem::Kind::Damaged);
    EXPECT_EQ(journal.read("nothing").problem->kind, JournalProblem::Kind::NoSuchRecord);
}

// Written at the break, again only when what goes out changed or the last write failed, and
// with the outcome; a note set meanwhile stays. A folder that cannot take the record is
// reported, and the record is made once it can.
TEST(DownloadRecorder, KeepsTheRecordOfOneDownload) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("journal");
    test::writeBytes(folder, "a file where the folder belongs");
    JournalRecord atBreak = test::sampleRecord(zerwa4);
    atBreak.summary.outcome = JournalOutcome::Unknown;
    atBreak.summary.units = 0;
    atBreak.summary.note.clear();
    DownloadRecorder recorder(folder);
    recorder.begin(atBreak);
    ASSERT_TRUE(recorder.problem());
    EXPECT_EQ(recorder.problem()->kind, JournalProblem::Kind::NotAFolder);
    EXPECT_EQ(recorder.recordPath(), folder);
    QFile::remove(folder);
    recorder.update(atBreak); // still in break: the record is made now
    ASSERT_FALSE(recorder.problem());
    const Journal journal(folder);
    const QString id = journal.list().entries.at(0).id;
    EXPECT_EQ(recorder.recordPath(), journal.pathOf(id));
    EXPECT_EQ(journal.read(id).record, atBreak);

    JournalRecord edited = atBreak;
    edited.setWire(test::wireOf(test::workedExampleFrame(127).replace(3, 1, "\x15")));
    recorder.update(edited);
    EXPECT_EQ(journal.read(id).record, edited);
    journal.setNote(id, "ABC-123");
    recorder.finish(JournalOutcome::Failed, 60, "Hiba a letöltésben!  60");
    const JournalSummary done = journal.read(id).record->summary;
    EXPECT_EQ(std::tie(done.outcome, done.units, done.error, done.note),
              std::make_tuple(JournalOutcome::Failed, 60, QString("Hiba a letöltésben!  60"),
                              QString("ABC-123")));
    EXPECT_EQ(journal.list().entries.size(), 1);
}

// A disk that fills up part-way: no record, no leftover, and the system's reason.
TEST(Journal, AFullDiskLeavesNothingBehind) {
    QTemporaryDir dir;
    const Journal journal(dir.path());
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{1000, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const Journal::Created created = journal.create(test::sampleRecord(zerwa4));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ASSERT_TRUE(created.problem);
    EXPECT_EQ(created.problem->kind, JournalProblem::Kind::CannotWrite);
    EXPECT_EQ(created.problem->detail, qt_error_string(EFBIG));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
}

} // namespace
