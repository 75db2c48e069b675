// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the commands on marked cells: each on the whole 4 x 60 map of zerwa4_60, one
// step of the history with the chart's refresh included. Each iteration changes cells: the
// amounts alternate, and before an interpolation or a smoothing one cell is typed anew.
#include "core/model/mapclipboard.h"
#include "core/model/variantprofiles.h"
#include "document/session/mapsession.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/tform1.h"
#include "gui/support/formfixture.h"
#include "windowbenchmarkmain.h"

using namespace zerwa;
using Op = rangeedits::Operation;

namespace {

const CellRange kWholeMap{{1, 1}, {4, 60}};

// Runs `command` once per iteration on a fresh zerwa4_60 window, k alternating 0 and 1.
template <typename Command> void run(benchmark::State& state, Command command) {
    test::FormFixture fixture(profiles::zerwa4_60());
    TForm1& form = fixture.start();
    int k = 0;
    for (auto _ : state)
        command(form, fixture, k ^= 1);
}

void BM_Fill(benchmark::State& state) {
    run(state, [](TForm1& form, test::FormFixture&, int k) {
        form.mapModel->setCellText(1, 1, k ? QStringLiteral("12,5") : QStringLiteral("13"));
        form.session().fillRange(kWholeMap, {1, 1});
    });
}

void operation(benchmark::State& state, Op op, const char* first, const char* second) {
    run(state, [=](TForm1& form, test::FormFixture&, int k) {
        form.session().applyToRange(kWholeMap, {op, QString::fromLatin1(k ? first : second)});
    });
}
void BM_Add(benchmark::State& state) {
    operation(state, Op::Add, "1,5", "-1,5");
}
void BM_Scale(benchmark::State& state) {
    operation(state, Op::Scale, "200", "50");
}

// An interpolation or a smoothing after a corner (or a middle cell) is typed anew.
void reshaped(benchmark::State& state, Op op, CellPos cell) {
    run(state, [=](TForm1& form, test::FormFixture&, int k) {
        form.mapModel->setCellText(cell.column, cell.row,
                                   k ? QStringLiteral("60") : QStringLiteral("1"));
        form.session().applyToRange(kWholeMap, {op, QString()});
    });
}
void BM_InterpolateBoth(benchmark::State& state) {
    reshaped(state, Op::InterpolateBoth, {4, 60});
}
void BM_InterpolateRows(benchmark::State& state) {
    reshaped(state, Op::InterpolateRows, {4, 30});
}
void BM_InterpolateColumns(benchmark::State& state) {
    reshaped(state, Op::InterpolateColumns, {2, 60});
}
void BM_Smooth(benchmark::State& state) {
    reshaped(state, Op::Smooth, {2, 30});
}

// Through the range dialog: its preview once, then the command.
void BM_AddThroughTheDialog(benchmark::State& state) {
    run(state, [](TForm1& form, test::FormFixture& fixture, int k) {
        fixture.prompter().rangeRequests = {rangeedits::Request{Op::Add, k ? "1" : "-1"}};
        form.session().askRangeOperation(kWholeMap);
    });
}

void BM_AddBlock(benchmark::State& state) {
    MapTable values = MapTable::forProfile(profiles::zerwa4_60());
    QString blocks[2];
    for (int k = 0; k < 2; ++k) {
        for (int r = 1; r <= 60; ++r)
            for (int c = 1; c <= 4; ++c)
                values.setCell(c, r, k ? QStringLiteral("0,5") : QStringLiteral("-0,5"));
        blocks[k] = mapclipboard::copyText(values, {1, 1}, {4, 60});
    }
    run(state, [&blocks](TForm1& form, test::FormFixture&, int k) {
        form.session().addBlock(blocks[k], {1, 1});
    });
}

} // namespace

BENCHMARK(BM_Fill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Add)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Scale)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InterpolateBoth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InterpolateRows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InterpolateColumns)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Smooth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddThroughTheDialog)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddBlock)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv);
}
