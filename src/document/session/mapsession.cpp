// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/session/mapsession.h"

#include "core/journal/downloadrecorder.h"
#include "core/link/downloadcheck.h"
#include "core/link/serialport.h"
#include "core/model/mapclipboard.h"
#include "core/storage/linesfile.h"
#include "document/compare/comparisoncommands.h"
#include "document/compare/mapcomparison.h"
#include "document/journal/journalcommands.h"
#include "document/link/downloadsequencer.h"
#include "document/link/portchooser.h"
#include "document/model/cellcheck.h"
#include "document/model/columncommands.h"
#include "document/model/rangecommands.h"
#include "document/model/settingsexit.h"
#include "document/session/commandguard.h"

#include <QDir>

namespace zerwa {

namespace {
constexpr int kBreakMilliseconds = 500;
}

MapSession::MapSession(AppContext context, ChartSink& chart, QObject* parent)
    : QObject(parent)
    , m_context(std::move(context))
    , m_chart(chart)
    , m_document(*m_context.profile)
    , m_edit{m_document, m_context.numbers, *m_context.prompter, m_chart} {
    Q_ASSERT(m_context.profile && m_context.prompter && m_context.serialPortFactory);
    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setInterval(kBreakMilliseconds);
    m_timer.setTimerType(Qt::PreciseTimer); // the break must not come out shorter
    connect(&m_timer, &QTimer::timeout, this, &MapSession::downloadTick);
    m_serialPort = m_context.serialPortFactory(m_context.startupDirectory);
    m_portChooser =
        std::make_unique<PortChooser>(profile(), prompter(), m_folders.startup, *m_serialPort);
    m_cellCheck = std::make_unique<CellCheck>(m_edit);
    m_settingsExit = std::make_unique<SettingsExit>(m_edit);
    m_columnCommands = std::make_unique<ColumnCommands>(m_edit);
    m_rangeCommands = std::make_unique<RangeCommands>(m_edit);
    m_mapFiles = std::make_unique<MapFileCommands>(m_edit, m_folders,
                                                   [this] { return m_portChooser->listText(); });
    m_recorder = std::make_unique<DownloadRecorder>(m_context.journalFolder);
    m_download = std::make_unique<DownloadSequencer>(m_edit, *m_serialPort, m_timer, *m_recorder,
                                                     [this] { emit downloadEnded(); });
    m_journal = std::make_unique<JournalCommands>(m_edit, *m_mapFiles, m_context.journalFolder);
    m_comparison = std::make_unique<MapComparison>(m_document, numbers());
    m_comparisonCommands =
        std::make_unique<ComparisonCommands>(m_edit, *m_comparison, *m_mapFiles, *m_journal);
}

MapSession::~MapSession() = default;

void MapSession::startUp() {
    // The order matters: the map named in the working file replaces the default table, the
    // port restore reads the working file's lines, and the chart draws the table as it ends
    // up.
    m_folders.startup = QDir(m_context.startupDirectory).absolutePath();
    if (!m_folders.startup.endsWith(QDir::separator()))
        m_folders.startup += QDir::separator();
    resetForStartUp();
    readWorkingFile();
    m_folders.fileDialogs = QDir(m_context.startupDirectory).absolutePath();
    m_portChooser->restore(m_workingFileLines);
    m_workingFileLines.clear();
    populateChart();
}

void MapSession::resetForStartUp() {
    m_document.resetMap(ResetScope::WithAxes);
    for (int c = 1; c <= profile().mapColumns; ++c)
        m_chart.setTitle(c, profile().defaultHeadings.at(c - 1));
}

void MapSession::readWorkingFile() {
    // The lines stay for the port restore; a missing or unreadable file gives none.
    m_workingFileLines =
        linesfile::read(m_folders.startup + profile().workingFileName).value_or(QStringList());
    if (m_workingFileLines.isEmpty())
        return;
    m_document.setCurrentMapFileName(m_workingFileLines.constFirst());
    readMapFile(m_workingFileLines.constFirst());
}

void MapSession::populateChart() {
    // A reopened map with a data cell that is not a number must not stop the start-up: the
    // point is drawn at 0 and the cell is named once. The cell check and the download check
    // catch the cell later.
    if (const auto error = m_chart.populate(m_document.table(), numbers()))
        prompter().showError(error->message());
}

void MapSession::run(const std::function<void()>& command) {
    runGuarded(prompter(), command);
}

std::optional<QString> MapSession::selectionMoving(CellPos newCell) {
    std::optional<QString> error;
    run([&] { error = m_cellCheck->selectionMoving(newCell); });
    return error;
}

bool MapSession::leaveSetting(SettingField field) {
    bool told = false;
    run([&] { told = m_settingsExit->leave(field); });
    return told;
}

void MapSession::stepColumn(double amount) {
    run([&] { m_columnCommands->step(amount); });
}

void MapSession::clear() {
    run([this] { m_columnCommands->clear(); });
}

void MapSession::slopeFill() {
    run([this] { m_columnCommands->slopeFill(); });
}

void MapSession::load() {
    run([this] { m_mapFiles->load(); });
}

void MapSession::save() {
    run([this] { m_mapFiles->save(); });
}

void MapSession::toggleAxisEdit() {
    run([this] { m_document.setAxisEditMode(!m_document.axisEditMode()); });
}

bool MapSession::confirmPort() {
    bool done = false;
    run([&] { done = m_portChooser->confirm(); });
    return done;
}

void MapSession::startDownload() {
    run([this] { m_download->start(); });
}

void MapSession::downloadTick() {
    run([this] { m_download->tick(); });
}

void MapSession::exit() {
    run([this] {
        if (prompter().askYesNo(QStringLiteral("Elmentette a változásokat?")))
            m_context.terminateProcess(0);
    });
}

void MapSession::undo() {
    run([this] {
        m_document.undo();
        refreshChartAfterHistoryStep();
    });
}

void MapSession::redo() {
    run([this] {
        m_document.redo();
        refreshChartAfterHistoryStep();
    });
}

void MapSession::paste(const QString& text, CellPos anchor) {
    run([&] {
        const mapclipboard::PastePlan plan = mapclipboard::planPaste(
            m_document.table(), text, anchor, m_document.axisEditMode(), profile(), numbers());
        if (!plan.after) {
            prompter().showMessage(plan.refusal);
            return;
        }
        refreshChart(m_document.changeTable(*plan.after, QStringLiteral("paste")));
    });
}

void MapSession::compareWithFile() {
    run([this] { m_comparisonCommands->compareWithFile(); });
}

void MapSession::compareWithRecord(const QString& id) {
    run([&] { m_comparisonCommands->compareWithRecord(id); });
}

void MapSession::compareWithLastDelivery() {
    run([this] { m_comparisonCommands->compareWithLastDelivery(); });
}

void MapSession::endComparison() {
    run([this] { m_comparison->end(); });
}

void MapSession::fillRange(const CellRange& range, CellPos current) {
    run([&] { m_rangeCommands->fill(range, current); });
}

void MapSession::applyToRange(const CellRange& range, const rangeedits::Request& request) {
    run([&] { m_rangeCommands->apply(range, request); });
}

void MapSession::askRangeOperation(const CellRange& range) {
    run([&] { m_rangeCommands->askAndApply(range); });
}

void MapSession::addBlock(const QString& text, CellPos anchor) {
    run([&] { m_rangeCommands->addBlock(text, anchor); });
}

void MapSession::refreshChartAfterHistoryStep() {
    refreshChart(m_document.takeChartRefresh());
}

void MapSession::refreshChart(const ChartRefresh& refresh) {
    m_chart.refresh(refresh, m_document.table(), numbers());
}

bool MapSession::readMapFile(const QString& fileName) {
    return m_mapFiles->readMapFile(fileName);
}

bool MapSession::writeMapFile(const QString& fileName) {
    return m_mapFiles->writeMapFile(fileName);
}

bool MapSession::validateForDownload() const {
    return ValidateForDownload(profile(), m_document.table(), m_document.settings(), numbers());
}

} // namespace zerwa
