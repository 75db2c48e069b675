// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the comparison in zerwa4_60's window: turning it on (the reference file read, the
// differences found, the grid, the settings and the chart marked, its window shown), and one
// cell edit with the marks following it (the grid repainted later, as after any edit), beside
// the same edit with no comparison on.
#include "core/storage/mapfile.h"
#include "core/support/testfiles.h"
#include "document/session/mapsession.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/support/formfixture.h"
#include "windowbenchmarkmain.h"

using namespace zerwa;

namespace {

// A reference differing from the start-up map in every third data cell and the limiting rpm.
QString writeReference(test::FormFixture& fixture) {
    const VariantProfile& profile = profiles::zerwa4_60();
    test::SampleMap reference(profile);
    for (int row = 1; row <= profile.rpmRows; ++row)
        for (int column = 1; column <= profile.mapColumns; ++column)
            if ((row + column) % 3 == 0)
                reference.table.setCell(column, row, QStringLiteral("12,5"));
    const QString path = fixture.pathOf(QStringLiteral("referencia.qmt"));
    test::writeBytes(path, *mapfile::encode(profile, {reference.settings, reference.table}));
    return path;
}

void BM_ComparisonOn(benchmark::State& state) {
    test::FormFixture fixture(profiles::zerwa4_60());
    TForm1& form = fixture.startShown();
    const QString reference = writeReference(fixture);
    for (auto _ : state) {
        fixture.prompter().openFiles = {reference};
        form.session().compareWithFile();
        QApplication::processEvents(); // the grid, the chart and the window painted
        state.PauseTiming();
        form.session().endComparison();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ComparisonOn)->Unit(benchmark::kMillisecond);

// One keystroke's edit of a data cell, making it equal to the reference and then not.
void editOneCell(benchmark::State& state, bool compared) {
    test::FormFixture fixture(profiles::zerwa4_60());
    TForm1& form = fixture.startShown();
    fixture.prompter().openFiles = {writeReference(fixture)};
    if (compared)
        form.session().compareWithFile();
    int k = 0;
    for (auto _ : state)
        form.mapModel->setCellText(2, 1, (k ^= 1) ? QStringLiteral("12,5") : QStringLiteral("2"));
}
void BM_EditWithComparison(benchmark::State& state) {
    editOneCell(state, true);
}
void BM_EditWithoutComparison(benchmark::State& state) {
    editOneCell(state, false);
}
BENCHMARK(BM_EditWithComparison)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditWithoutComparison)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv);
}
