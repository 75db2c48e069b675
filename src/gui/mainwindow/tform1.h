// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "document/session/appcontext.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class QPushButton;
class QTimer;

namespace zerwa {

class ChartMirror;
class CommandBar;
class ComparisonControls;
class JournalWindow;
class KeyLegendWindow;
class MapChartView;
class MapDocument;
class MapGrid;
class MapSession;
class MapTableModel;
class Prompter;
class SerialPort;
class SettingsChecks;
class SettingsPanel;
class TableCommands;
class THelpForm;
class TopButtonBar;

// The main window. It shows the map document (the grid, the settings, the chart, the
// caption, the download button) and turns the user's clicks and keys into the session's
// commands; the state and the commands live in the session.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(AppContext context, QWidget* parent = nullptr);
    ~TForm1() override;

    MapSession& session() const { return *m_session; }
    MapDocument& document() const;
    const VariantProfile& profile() const;
    Prompter& prompter() const;
    const NumberFormat& numbers() const;

    // The current directory at start followed by a separator; working files live here.
    const QString& startupFolder() const;
    // The folder the file dialogs open in.
    // The map file that backs the table; the save dialog proposes it.
    const QString& currentMapFileName() const;
    // The cell selected last; the next selection move checks it.
    CellPos rememberedCell() const;
    void setRememberedCell(CellPos cell);

    const MapTable& table() const;
    // Axis-edit mode is on exactly when the grid has no fixed column.
    bool axisEditMode() const;

    // The chart mirror's refreshes (they read every cell they cover; a data cell that is not
    // a number stops the value refresh with a ConversionError).
    void refreshChartValues();
    void refreshChartTitles();
    void refreshChartRpmLabels();

    bool ReadMapFile(const QString& fileName);
    bool WriteMapFile(const QString& fileName);

    // The help window, created after the main window at start-up.
    void setHelpForm(THelpForm* helpForm) { m_helpForm = helpForm; }

    // The whole-map check before a download: true when every value may be sent.
    bool ValidateForDownload() const;
    // The port the next download opens.
    int portNumber() const;

    // Runs a command under the top-level error handler.
    void runCommand(const std::function<void()>& command);

    // Controls, by their form names.
    MapTableModel* mapModel;
    MapGrid* StringGrid1;
    TopButtonBar* Panel4;
    SettingsPanel* Panel1;
    CommandBar* Panel3;
    QPushButton* LoadBtn;
    QPushButton* SaveBtn;
    QPushButton* EditBtn;
    QPushButton* TorolBtn;
    QPushButton* HelpBtn;
    QPushButton* KilepBtn;
    QPushButton* ComBtn;
    QPushButton* LetoltBtn;
    MapChartView* Chart1;
    ChartMirror* chart() const { return m_chart; }
    TableCommands* tableCommands() const { return m_tableCommands; }
    QTimer* Timer1;      // the download's break wait, 500 ms, used once per download
    SerialPort* MSComm1; // open only during a download
    // "Letöltési napló", made at its first opening (Ctrl+L).
    JournalWindow* journalWindow() const;
    // The comparison's keys, window and chart lines.
    ComparisonControls* comparisonControls() const { return m_comparisonControls; }
    KeyLegendWindow* keyLegend() const;

public slots:
    void StringGrid1SelectCell(int column, int row);
    void Chart1DblClick();
    void EditBtnClick();
    void KilepBtnClick();
    void LoadBtnClick();
    void SaveBtnClick();
    void HelpBtnClick();
    void ComBtnClick();
    void ComOkBtnClick();
    void LetoltBtnClick();
    void Timer1Timer();
    void undo();
    void redo();
    // Opens the journal window, or brings it to the front, with the journal read again.
    void showJournal();
    // Data cells coloured by their values, or not (Ctrl+H).
    void toggleValueColours();
    // "Billentyűk" (F1): every key, in a window beside this one.
    void showKeyLegend();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void observeSession();
    void connectCommands();
    void centreOnScreen();
    void setChooserShown(bool shown);
    void reportAfterMove();

    std::unique_ptr<MapSession> m_session;
    ChartMirror* m_chart = nullptr;
    TableCommands* m_tableCommands = nullptr;
    SettingsChecks* m_settingsChecks = nullptr;
    QMetaObject::Connection m_focusWatch;
    std::optional<QString> m_errorAfterMove;
    int m_gridBottomMargin = 0;
    THelpForm* m_helpForm = nullptr;
    QPointer<JournalWindow> m_journalWindow;
    ComparisonControls* m_comparisonControls = nullptr;
    QPointer<KeyLegendWindow> m_keyLegend;
};

} // namespace zerwa
