// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the download journal: writing a record (at the click, and again at the tick
// while the line is in break), listing a journal of 10,000 records with the tool, and opening
// the journal window on it. ZERWA_BENCH_RECORDS sets the number of records (the test run uses
// a few).
#include "core/journal/downloadrecorder.h"
#include "core/journal/journal.h"
#include "core/journal/journalformat.h"
#include "core/support/samplerecord.h"
#include "gui/journal/journalwindow.h"
#include "gui/support/formfixture.h"

#include "windowbenchmarkmain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

using namespace zerwa;

namespace {

const VariantProfile& zerwa4_60 = profiles::zerwa4_60();

// A journal of zerwa4_60 records (the largest), one a minute, written once for every
// benchmark of the run.
const QString& bigJournal() {
    static QTemporaryDir dir;
    static const QString folder = [] {
        const int count = qEnvironmentVariableIsSet("ZERWA_BENCH_RECORDS")
                              ? qEnvironmentVariableIntValue("ZERWA_BENCH_RECORDS")
                              : 10000;
        const QString path = dir.filePath(QStringLiteral("journal"));
        QDir().mkpath(path);
        JournalRecord record = test::sampleRecord(zerwa4_60);
        const QDateTime start = record.summary.time;
        for (int i = 0; i < count; ++i) {
            record.summary.time = start.addSecs(60 * i);
            QFile file(QDir(path).filePath(
                record.summary.time.toString(QStringLiteral("yyyyMMdd-HHmmss-")) +
                QString::number(i, 16).rightJustified(4, u'0') + QStringLiteral(".record")));
            if (!file.open(QIODevice::WriteOnly) || file.write(journalformat::encode(record)) < 0)
                qFatal("cannot write the journal");
        }
        return path;
    }();
    return folder;
}

void dropIndex(bool cold) {
    if (cold)
        QFile::remove(QDir(bigJournal()).filePath(QStringLiteral(".index")));
}

// A new record, synced to disk: what the click adds to the start of the break.
void BM_WriteRecord(benchmark::State& state) {
    QTemporaryDir dir;
    const Journal journal(dir.path());
    JournalRecord record = test::sampleRecord(zerwa4_60);
    for (auto _ : state) {
        if (journal.create(record).problem)
            state.SkipWithError("not written");
    }
}
BENCHMARK(BM_WriteRecord)->Unit(benchmark::kMillisecond);

// The record written again with an edited map (read back for its note, then replaced): what
// the tick adds to the break when the map changed during it.
void BM_RewriteRecordAtTheTick(benchmark::State& state) {
    QTemporaryDir dir;
    DownloadRecorder recorder(dir.path());
    JournalRecord record = test::sampleRecord(zerwa4_60);
    recorder.begin(record);
    int edit = 0;
    for (auto _ : state) {
        record.setWire(test::wireOf(QByteArray(247, char(1 + ++edit % 100))));
        recorder.update(record);
    }
    if (recorder.problem())
        state.SkipWithError("not written");
}
BENCHMARK(BM_RewriteRecordAtTheTick)->Unit(benchmark::kMillisecond);

// zerwa journal list from exec to exit; cold: no index yet (every record read and checked).
void BM_ToolListsTheJournal(benchmark::State& state) {
    const bool cold = state.range(0) == 0, json = state.range(1) == 1;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZERWA_JOURNAL_DIR"), bigJournal());
    dropIndex(false);
    for (auto _ : state) {
        state.PauseTiming();
        dropIndex(cold);
        QProcess tool;
        tool.setProcessEnvironment(environment);
        state.ResumeTiming();
        tool.start(QStringLiteral(ZERWA_TOOL), json ? QStringList{"journal", "list", "--json"}
                                                    : QStringList{"journal", "list"});
        if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
            state.SkipWithError("the tool failed");
    }
    state.SetLabel(std::string(cold ? "no index" : "index") + (json ? ", --json" : ""));
}
BENCHMARK(BM_ToolListsTheJournal)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// Ctrl+L to the journal window shown with every record listed.
void BM_OpenTheJournalWindow(benchmark::State& state) {
    const bool cold = state.range(0) == 0;
    test::FormFixture fixture(zerwa4_60);
    fixture.setJournalFolder(bigJournal());
    TForm1& form = fixture.start();
    dropIndex(false);
    form.showJournal();
    for (auto _ : state) {
        state.PauseTiming();
        form.journalWindow()->close();
        dropIndex(cold);
        state.ResumeTiming();
        form.showJournal();
        QCoreApplication::processEvents();
    }
    if (form.journalWindow()->table->model()->rowCount() < 1)
        state.SkipWithError("nothing listed");
    state.SetLabel(cold ? "no index" : "index");
}
BENCHMARK(BM_OpenTheJournalWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv);
}
