#pragma once

#include "mainwindow/appcontext.h"
#include "model/maptable.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QPushButton;
class QTimer;

namespace zerwa {

class CellCheck;
class ChartMirror;
class CommandBar;
class MapChartView;
class DownloadSequencer;
class MapGrid;
class MapTableModel;
class PortChooser;
class Prompter;
class SettingsChecks;
class SerialPort;
class SettingsPanel;
class TableCommands;
class THelpForm;
class TopButtonBar;

// The main window. It holds the controls (and with them the map table and the settings)
// and the program-wide state; the commands live in their own classes and act on it.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(AppContext context, QWidget* parent = nullptr);
    ~TForm1() override;

    const VariantProfile& profile() const { return *m_context.profile; }
    Prompter& prompter() const { return *m_context.prompter; }
    const NumberFormat& numbers() const { return m_context.numbers; }

    // The current directory at start followed by a separator; working files live here.
    const QString& startupFolder() const { return m_startupFolder; }
    // The folder the file dialogs open in.
    const QString& fileDialogFolder() const { return m_fileDialogFolder; }
    // The map file that backs the table; the save dialog proposes it.
    const QString& currentMapFileName() const { return m_currentMapFileName; }
    void setCurrentMapFileName(const QString& name) { m_currentMapFileName = name; }
    // The cell selected last; the next selection move checks it.
    CellPos rememberedCell() const { return m_rememberedCell; }
    void setRememberedCell(CellPos cell) { m_rememberedCell = cell; }

    const MapTable& table() const;
    // Axis-edit mode is on exactly when the grid has no fixed column.
    bool axisEditMode() const;

    // Rewrites the default table (with the axes and the chart line titles, or the data
    // only), blanks the settings and disables the download.
    void resetTable(ResetScope scope);

    // The chart mirror's refreshes (they read every cell they cover; a data cell that is not
    // a number stops the value refresh with a ConversionError).
    void refreshChartValues();
    void refreshChartTitles();
    void refreshChartRpmLabels();

    // Reads the named map file into the settings and the table; on success the file becomes
    // the current map file name, the download is enabled and the caption shows the name. On
    // failure its message has been shown and nothing changed.
    bool ReadMapFile(const QString& fileName);
    // Writes the settings and the table to the named map file. The previous file is replaced
    // only once the new one is complete; a failure is shown and false returned.
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
    SettingsChecks* settingsChecks() const { return m_settingsChecks; }
    QTimer* Timer1;      // the download's break wait, 500 ms, used once per download
    SerialPort* MSComm1; // open only during a download

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

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void connectCommands();
    void runStartup();
    void centreOnScreen();

    // Start-up steps contributed by the storage, link and chart features.
    void readWorkingFileAtStartup();
    void restorePort();
    void populateChart();

    AppContext m_context;
    ChartMirror* m_chart = nullptr;
    std::unique_ptr<CellCheck> m_cellCheck;
    TableCommands* m_tableCommands = nullptr;
    SettingsChecks* m_settingsChecks = nullptr;
    QString m_startupFolder;
    QString m_fileDialogFolder;
    QString m_currentMapFileName;
    CellPos m_rememberedCell;
    QStringList m_workingFileLines; // kept from step 7 to the port restore
    std::unique_ptr<SerialPort> m_serialPort;
    std::unique_ptr<PortChooser> m_portChooser;
    std::unique_ptr<DownloadSequencer> m_downloadSequencer;
    int m_gridBottomMargin = 0;
    THelpForm* m_helpForm = nullptr;
};

} // namespace zerwa
