// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for editing in the window: undo and redo of a column step, the memory a full
// history takes, and a paste of a whole column block, each with the grid and chart following.
#include "core/model/mapclipboard.h"
#include "core/model/variantprofiles.h"
#include "document/model/mapdocument.h"
#include "document/session/mapsession.h"
#include "gui/mainwindow/tform1.h"
#include "gui/support/formfixture.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <malloc.h>

using namespace zerwa;

namespace {

// Undo and redo of a step that rewrote all 60 cells of a column, chart refresh included; one
// iteration is one undo and one redo.
void BM_UndoRedoColumnStep(benchmark::State& state) {
    test::FormFixture fixture(profiles::zerwa4_60());
    TForm1& form = fixture.start();
    form.session().stepColumn(8);
    for (auto _ : state) {
        form.undo();
        form.redo();
    }
}
BENCHMARK(BM_UndoRedoColumnStep)->Unit(benchmark::kMicrosecond);

// The heap a full history of 60-cell steps holds.
void BM_HistoryMemory(benchmark::State& state) {
    for (auto _ : state) {
        test::FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        MapDocument& document = form.document();
        const size_t before = mallinfo2().uordblks;
        for (int i = 0; i < MapDocument::kHistoryLimit; ++i) {
            document.setRememberedCell({1 + i % 4, 1});
            form.session().stepColumn(i % 8 < 4 ? 0.5 : -0.5);
        }
        state.counters["steps"] = document.history().count();
        state.counters["MB"] = double(mallinfo2().uordblks - before) / (1024 * 1024);
    }
}
BENCHMARK(BM_HistoryMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// A 4 x 60 block pasted over every data cell of zerwa4_60, chart refresh included.
void BM_PasteFullBlock(benchmark::State& state) {
    test::FormFixture fixture(profiles::zerwa4_60());
    TForm1& form = fixture.start();
    MapTable values = form.table();
    QString texts[2];
    for (int k = 0; k < 2; ++k) {
        for (int r = 1; r <= 60; ++r) {
            for (int c = 1; c <= 4; ++c)
                values.setCell(c, r, QString::number(10 + k + c) + QStringLiteral(",5"));
        }
        texts[k] = mapclipboard::copyText(values, {1, 1}, {4, 60});
    }
    int k = 0;
    for (auto _ : state)
        form.session().paste(texts[k ^= 1], {1, 1});
}
BENCHMARK(BM_PasteFullBlock)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
