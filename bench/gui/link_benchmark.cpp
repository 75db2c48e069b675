// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the download path: frame encoding, the whole-map check and a download over a
// pseudo-terminal.
#include "core/link/downloadcheck.h"
#include "core/link/downloadframe.h"
#include "core/link/qtserialport.h"
#include "core/model/variantprofiles.h"
#include "core/support/programtable.h"
#include "core/support/pseudoterminal.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/support/formfixture.h"

#include "windowbenchmarkmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

using namespace zerwa;

namespace {

const NumberFormat comma(u',');

const VariantProfile& profileAt(std::int64_t index) {
    return *profiles::all().at(qsizetype(index));
}

void BM_EncodeDownloadFrame(benchmark::State& state) {
    const VariantProfile& p = profileAt(state.range(0));
    test::SampleMap map(p);
    map.fill(QStringLiteral("12,3"));
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeDownloadFrame(p, map.table, map.settings, comma));
    state.SetLabel(p.programName.toStdString());
}
BENCHMARK(BM_EncodeDownloadFrame)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Every cell a 1000-digit text just below 63,5 (the check lets it through as 63,5).
void BM_EncodeDownloadFrameLongTexts(benchmark::State& state) {
    const VariantProfile& p = profiles::zerwa4_60();
    test::SampleMap map(p);
    map.fill(QStringLiteral("63,4") + QString(1000, u'9'));
    map.settings.limitRpm = QStringLiteral("600,") + QString(1000, u'0') + u'1';
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeDownloadFrame(p, map.table, map.settings, comma));
}
BENCHMARK(BM_EncodeDownloadFrameLongTexts)->Unit(benchmark::kMicrosecond);

void BM_ValidateForDownload(benchmark::State& state) {
    const VariantProfile& p = profileAt(state.range(0));
    const test::SampleMap map(p);
    for (auto _ : state)
        benchmark::DoNotOptimize(ValidateForDownload(p, map.table, map.settings, comma));
    state.SetLabel(p.programName.toStdString());
}
BENCHMARK(BM_ValidateForDownload)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Click on Letöltés to the last byte read on the far side of a pseudo-terminal (the break
// wait of 500 ms included; a pseudo-terminal does not pace bytes at 2400 baud).
void BM_PtyClickToLastByte(benchmark::State& state) {
    const VariantProfile& p = profileAt(state.range(0));
    test::PseudoTerminal pty;
    test::FormFixture fixture(p);
    if (!pty.isValid() || !QFile::link(pty.slavePath(), fixture.pathOf(QStringLiteral("COM1")))) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    fixture.setSerialPortFactory(
        [](const QString& folder) { return std::make_unique<QtSerialPort>(folder); });
    TForm1& form = fixture.start();
    const test::SampleMap map(p);
    form.mapModel->setTable(map.table);
    form.Panel1->setSettings(map.settings);
    form.LetoltBtn->setEnabled(true);
    const qsizetype wireSize = p.frameLength * 3;
    for (auto _ : state) {
        fixture.prompter().records.clear();
        QElapsedTimer clock;
        clock.start();
        form.LetoltBtnClick();
        const QByteArray wire = pty.readWithEvents(wireSize, 10000);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (wire.size() != wireSize)
            state.SkipWithError("bytes missing");
        if (!QTest::qWaitFor([&] { return !fixture.prompter().messages().isEmpty(); }, 10000))
            state.SkipWithError("no completion message");
    }
    state.SetLabel(p.programName.toStdString());
}
BENCHMARK(BM_PtyClickToLastByte)
    ->DenseRange(0, 2)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// How many of 741 queued bytes reach the far side when the port is closed right after the
// writes: plain QSerialPort::close() against QtSerialPort's draining close.
void BM_BytesDeliveredByClose(benchmark::State& state) {
    const bool draining = state.range(0) == 1;
    const QByteArray bytes(741, char(0x55));
    qint64 delivered = 0;
    for (auto _ : state) {
        test::PseudoTerminal pty;
        QTemporaryDir folder;
        QFile::link(pty.slavePath(), folder.filePath(QStringLiteral("COM1")));
        if (draining) {
            QtSerialPort port(folder.path());
            port.open();
            port.write(bytes);
            bool released = false;
            port.close([&](const SerialPort::CloseResult&) { released = true; });
            if (!QTest::qWaitFor([&] { return released; }, 10000))
                state.SkipWithError("port not released");
        } else {
            QSerialPort port;
            port.setPortName(pty.slavePath());
            port.open(QIODevice::WriteOnly);
            port.write(bytes);
            port.close();
        }
        delivered = pty.readWithEvents(bytes.size(), 300).size();
    }
    state.counters["delivered"] = double(delivered);
    state.SetLabel(draining ? "QtSerialPort::close" : "QSerialPort::close");
}
BENCHMARK(BM_BytesDeliveredByClose)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv);
}
