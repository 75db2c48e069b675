// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/cellrange.h"
#include "core/model/rangeedits.h"
#include "document/model/editcontext.h"
#include "document/model/mapdocument.h"
#include "document/session/appcontext.h"
#include "document/storage/mapfilecommands.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace zerwa {

class CellCheck;
class ColumnCommands;
class ComparisonCommands;
class MapComparison;
class DownloadRecorder;
class DownloadSequencer;
class JournalCommands;
class PortChooser;
class RangeCommands;
class SerialPort;
class SettingsExit;

// The program without its windows: the map document, the program-wide state and every
// command, wired together. The main window shows the document and turns the user's clicks
// and keys into these commands; tests drive them directly.
class MapSession : public QObject {
    Q_OBJECT
public:
    MapSession(AppContext context, ChartSink& chart, QObject* parent = nullptr);
    ~MapSession() override;

    // The start-up, in its fixed order: default table, the map named in the working file,
    // the port, the chart.
    void startUp();

    MapDocument& document() { return m_document; }
    const MapDocument& document() const { return m_document; }
    const VariantProfile& profile() const { return *m_context.profile; }
    const NumberFormat& numbers() const { return m_context.numbers; }
    Prompter& prompter() const { return *m_context.prompter; }
    const ProgramFolders& folders() const { return m_folders; }
    PortChooser& portChooser() { return *m_portChooser; }
    SerialPort& serialPort() { return *m_serialPort; }
    QTimer& downloadTimer() { return m_timer; }
    JournalCommands& journal() { return *m_journal; }
    // The comparison with a reference map, while one is on.
    MapComparison& comparison() { return *m_comparison; }

    // Runs a command under the top-level error handler: an error is shown with its own text
    // and the program goes on; effects made before it stay.
    void run(const std::function<void()>& command);

    // The commands. Each runs guarded, except where it says otherwise.
    // Before the grid's selection moves to `newCell`: returns the error to report after the
    // move (guarded otherwise).
    std::optional<QString> selectionMoving(CellPos newCell);
    // Whether the check showed a message.
    bool leaveSetting(SettingField field);
    void stepColumn(double amount);
    void clear();
    void slopeFill();
    void load();
    void save();
    void toggleAxisEdit();
    bool confirmPort();
    void startDownload();
    void downloadTick();
    void exit();
    void undo();
    void redo();
    // Pastes clipboard text with its top-left corner at `anchor`: all of it, or nothing and a
    // message naming the first cell that may not take its text. One step of the history.
    void paste(const QString& text, CellPos anchor);
    // A comparison with a map file chosen in its own dialog, with a download record, or with
    // the newest download this program delivered; and its end.
    void compareWithFile();
    void compareWithRecord(const QString& id);
    void compareWithLastDelivery();
    void endComparison();
    // The commands on the grid's marked range (see RangeCommands).
    void fillRange(const CellRange& range, CellPos current);
    void applyToRange(const CellRange& range, const rangeedits::Request& request);
    void askRangeOperation(const CellRange& range);
    void addBlock(const QString& text, CellPos anchor);

    // Unguarded building blocks, for the start-up and for tests.
    bool readMapFile(const QString& fileName);
    bool writeMapFile(const QString& fileName);
    bool validateForDownload() const;

signals:
    // A download's record has its outcome (the journal window lists it again).
    void downloadEnded();

private:
    void resetForStartUp();
    void readWorkingFile();
    void populateChart();
    void refreshChartAfterHistoryStep();
    void refreshChart(const ChartRefresh& refresh);

    AppContext m_context;
    ChartSink& m_chart;
    MapDocument m_document;
    EditContext m_edit;
    ProgramFolders m_folders;
    QStringList m_workingFileLines; // kept from the working file's read to the port restore
    std::unique_ptr<SerialPort> m_serialPort;
    QTimer m_timer;
    std::unique_ptr<PortChooser> m_portChooser;
    std::unique_ptr<CellCheck> m_cellCheck;
    std::unique_ptr<SettingsExit> m_settingsExit;
    std::unique_ptr<ColumnCommands> m_columnCommands;
    std::unique_ptr<RangeCommands> m_rangeCommands;
    std::unique_ptr<MapFileCommands> m_mapFiles;
    std::unique_ptr<DownloadRecorder> m_recorder;
    std::unique_ptr<DownloadSequencer> m_download;
    std::unique_ptr<JournalCommands> m_journal;
    std::unique_ptr<MapComparison> m_comparison;
    std::unique_ptr<ComparisonCommands> m_comparisonCommands;
};

} // namespace zerwa
