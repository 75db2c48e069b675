#include "mainwindow/tform1.h"

#include "chart/chartmirror.h"
#include "chart/mapchartview.h"
#include "dialogs/thelpform.h"
#include "link/downloadcheck.h"
#include "link/downloadsequencer.h"
#include "link/portchooser.h"
#include "link/portchooserpanel.h"
#include "link/qtserialport.h"
#include "link/serialport.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/cellcheck.h"
#include "mainwindow/commandguard.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/prompter.h"
#include "mainwindow/settingschecks.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/tablecommands.h"
#include "storage/linesfile.h"
#include "storage/mapfilecommands.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

namespace zerwa {

namespace {

constexpr int kWindowWidth = 720;
const QRect kTopBarGeometry(7, 7, 362, 46);
const QRect kSettingsGeometry(391, 196, 312, 202);
const QRect kCommandBarGeometry(391, 404, 312, 46);
constexpr int kGridLeft = 7;
constexpr int kGridTop = 65;
constexpr int kGridWidth = 362;
constexpr int kBreakMilliseconds = 500;

} // namespace

TForm1::TForm1(AppContext context, QWidget* parent)
    : QWidget(parent)
    , m_context(std::move(context)) {
    Q_ASSERT(m_context.profile && m_context.prompter);
    runStartup();
}

TForm1::~TForm1() = default;

void TForm1::runStartup() {
    // The order matters: the map named in the working file replaces the default table, the
    // port restore reads the working file's lines, and the chart draws the table as it ends up.
    buildControls();
    m_rememberedCell = profile().initialRememberedCell;
    m_startupFolder = QDir(m_context.startupDirectory).absolutePath();
    if (!m_startupFolder.endsWith(QDir::separator()))
        m_startupFolder += QDir::separator();
    m_currentMapFileName = profile().defaultMapFileName;
    resetTable(ResetScope::WithAxes);
    LetoltBtn->setEnabled(false);
    readWorkingFileAtStartup();
    m_fileDialogFolder = QDir(m_context.startupDirectory).absolutePath();
    restorePort();
    m_workingFileLines.clear();
    populateChart();
    connectCommands();
}

void TForm1::buildControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    const VariantProfile& p = profile();

    Panel4 = new TopButtonBar(this);
    Panel4->setGeometry(kTopBarGeometry);
    LoadBtn = Panel4->LoadBtn;
    SaveBtn = Panel4->SaveBtn;
    EditBtn = Panel4->EditBtn;
    TorolBtn = Panel4->TorolBtn;
    HelpBtn = Panel4->HelpBtn;

    mapModel = new MapTableModel(MapTable::forProfile(p), this);
    StringGrid1 = new MapGrid(mapModel, p, this);
    StringGrid1->setGeometry(kGridLeft, kGridTop, kGridWidth, p.gridHeight);
    StringGrid1->placeCellSilently({1, 1});
    m_gridBottomMargin = p.windowHeight - kGridTop - p.gridHeight;

    Panel1 = new SettingsPanel(p, this);
    Panel1->setGeometry(kSettingsGeometry);

    Panel3 = new CommandBar(p.portItemCount, p.firstPortSelectedAtStart, this);
    Panel3->setGeometry(kCommandBarGeometry);
    KilepBtn = Panel3->KilepBtn;
    ComBtn = Panel3->ComBtn;
    LetoltBtn = Panel3->LetoltBtn;

    // The chart is the last control: enlarged, it lies over the panels.
    m_chart = new ChartMirror(p, this);
    Chart1 = m_chart->view();
    m_cellCheck = std::make_unique<CellCheck>(*this);
    m_tableCommands = new TableCommands(*this);
    m_settingsChecks = new SettingsChecks(*this);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kBreakMilliseconds);
    Timer1->setTimerType(Qt::PreciseTimer); // the break must not come out shorter
    m_serialPort = m_context.serialPortFactory
                       ? m_context.serialPortFactory(m_context.startupDirectory)
                       : std::make_unique<QtSerialPort>(m_context.startupDirectory);
    MSComm1 = m_serialPort.get();
    m_portChooser = std::make_unique<PortChooser>(*this);
    m_downloadSequencer = std::make_unique<DownloadSequencer>(*this);

    setTabOrder(StringGrid1, Panel1->ComboBox1);

    setMinimumSize(kWindowWidth, p.windowMinHeight);
    setMaximumSize(kWindowWidth, p.windowMaxHeight);
    resize(kWindowWidth, p.windowHeight);
    centreOnScreen();
}

void TForm1::connectCommands() {
    connect(EditBtn, &QPushButton::clicked, this, &TForm1::EditBtnClick);
    connect(KilepBtn, &QPushButton::clicked, this, &TForm1::KilepBtnClick);
    connect(TorolBtn, &QPushButton::clicked, m_tableCommands, &TableCommands::TorolBtnClick);
    connect(StringGrid1, &MapGrid::cellSelected, this, &TForm1::StringGrid1SelectCell);
    connect(Chart1, &MapChartView::doubleClicked, this, &TForm1::Chart1DblClick);
    connect(LoadBtn, &QPushButton::clicked, this, &TForm1::LoadBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &TForm1::SaveBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TForm1::HelpBtnClick);
    connect(ComBtn, &QPushButton::clicked, this, &TForm1::ComBtnClick);
    connect(Panel3->Panel5->ComOkBtn, &QPushButton::clicked, this, &TForm1::ComOkBtnClick);
    connect(LetoltBtn, &QPushButton::clicked, this, &TForm1::LetoltBtnClick);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

void TForm1::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
}

const MapTable& TForm1::table() const {
    return mapModel->table();
}

bool TForm1::axisEditMode() const {
    return StringGrid1->fixedColumnCount() == 0;
}

void TForm1::resetTable(ResetScope scope) {
    MapTable table = mapModel->table();
    resetMapTable(table, profile(), scope);
    mapModel->setTable(table);
    if (scope == ResetScope::WithAxes) {
        for (int c = 1; c <= profile().mapColumns; ++c)
            m_chart->setTitle(c, profile().defaultHeadings.at(c - 1));
    }
    Panel1->clear();
    LetoltBtn->setEnabled(false);
}

bool TForm1::ValidateForDownload() const {
    return zerwa::ValidateForDownload(profile(), table(), Panel1->settings(), numbers());
}

int TForm1::portNumber() const {
    return m_portChooser->portNumber();
}

void TForm1::runCommand(const std::function<void()>& command) {
    runGuarded(prompter(), command);
}

void TForm1::EditBtnClick() {
    runCommand([this] { StringGrid1->setFixedAxes(StringGrid1->fixedColumnCount() != 1); });
}

void TForm1::StringGrid1SelectCell(int column, int row) {
    runCommand([&] { m_cellCheck->selectionMoved({column, row}); });
}

void TForm1::Chart1DblClick() {
    runCommand([this] { StringGrid1->setVisible(!m_chart->toggleEnlarged()); });
}

void TForm1::KilepBtnClick() {
    runCommand([this] {
        if (prompter().askYesNo(QStringLiteral("Elmentette a változásokat?")))
            m_context.terminateProcess(0);
    });
}

void TForm1::HelpBtnClick() {
    runCommand([this] {
        if (m_helpForm)
            m_helpForm->showHelp();
    });
}

void TForm1::ComBtnClick() {
    runCommand([this] { m_portChooser->show(); });
}

void TForm1::ComOkBtnClick() {
    runCommand([this] { m_portChooser->confirm(); });
}

void TForm1::LetoltBtnClick() {
    runCommand([this] { m_downloadSequencer->start(); });
}

void TForm1::Timer1Timer() {
    runCommand([this] { m_downloadSequencer->tick(); });
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The grid is anchored to the bottom edge: it follows the window's height.
    StringGrid1->resize(kGridWidth, qMax(0, height() - kGridTop - m_gridBottomMargin));
}

void TForm1::readWorkingFileAtStartup() {
    // The lines stay for the port restore; a missing or unreadable file gives none.
    m_workingFileLines =
        linesfile::read(m_startupFolder + profile().workingFileName).value_or(QStringList());
    if (m_workingFileLines.isEmpty())
        return;
    m_currentMapFileName = m_workingFileLines.constFirst();
    ReadMapFile(m_currentMapFileName);
}

bool TForm1::ReadMapFile(const QString& fileName) {
    return MapFileCommands(*this).readMapFile(fileName);
}

bool TForm1::WriteMapFile(const QString& fileName) {
    return MapFileCommands(*this).writeMapFile(fileName);
}

void TForm1::LoadBtnClick() {
    runCommand([this] { MapFileCommands(*this).load(); });
}

void TForm1::SaveBtnClick() {
    runCommand([this] { MapFileCommands(*this).save(); });
}

void TForm1::restorePort() {
    m_portChooser->restore(m_workingFileLines);
}

void TForm1::refreshChartValues() {
    m_chart->refreshValues(table(), numbers());
}

void TForm1::refreshChartTitles() {
    m_chart->refreshTitles(table());
}

void TForm1::refreshChartRpmLabels() {
    m_chart->refreshRpmLabels(table());
}

void TForm1::populateChart() {
    // A reopened map with a data cell that is not a number must not stop the start-up: the
    // point is drawn at 0 and the cell is named once. The cell check and the download check
    // catch the cell later.
    if (const auto error = m_chart->populate(table(), numbers()))
        prompter().showError(error->message());
}

} // namespace zerwa
