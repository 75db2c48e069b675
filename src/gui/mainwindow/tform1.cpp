// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/tform1.h"

#include "document/link/portchooser.h"
#include "document/model/prompter.h"
#include "document/session/mapsession.h"
#include "gui/chart/chartmirror.h"
#include "gui/chart/mapchartview.h"
#include "gui/compare/comparisoncontrols.h"
#include "gui/dialogs/keylegendwindow.h"
#include "gui/dialogs/thelpform.h"
#include "gui/journal/journalwindow.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/mainwindow/gridclipboard.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/portchooserpanel.h"
#include "gui/mainwindow/rangekeys.h"
#include "gui/mainwindow/settingschecks.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/mainwindow/tablecommands.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>

namespace zerwa {

namespace {

constexpr int kWindowWidth = 720;
const QRect kTopBarGeometry(7, 7, 362, 46);
const QRect kSettingsGeometry(391, 196, 312, 202);
const QRect kCommandBarGeometry(391, 404, 312, 46);
constexpr int kGridLeft = 7;
constexpr int kGridTop = 65;
constexpr int kGridWidth = 362;

} // namespace

TForm1::TForm1(AppContext context, QWidget* parent)
    : QWidget(parent) {
    Q_ASSERT(context.profile && context.prompter && context.serialPortFactory);
    // The chart exists before the session: the start-up draws it.
    m_chart = new ChartMirror(*context.profile, this);
    m_session = std::make_unique<MapSession>(std::move(context), *m_chart);
    buildControls();
    observeSession();
    m_session->startUp();
    connectCommands();
}

TForm1::~TForm1() {
    // The journal window acts on the session (a note still being typed is saved as it
    // closes): it goes while the session is there.
    delete m_journalWindow;
    delete m_comparisonControls;
    // The controls below go one by one, and each moves the focus: nothing may watch it now.
    disconnect(m_focusWatch);
    // A window that closes checks no field it takes the focus from.
    delete m_settingsChecks;
    // The grid and the settings panel show the session's document: they go before it does.
    delete StringGrid1;
    delete mapModel;
    delete Panel1;
}

void TForm1::buildControls() {
    setObjectName(QStringLiteral("Form1"));
    const VariantProfile& p = profile();
    MapDocument& doc = document();

    Panel4 = new TopButtonBar(this);
    Panel4->setGeometry(kTopBarGeometry);
    LoadBtn = Panel4->LoadBtn;
    SaveBtn = Panel4->SaveBtn;
    EditBtn = Panel4->EditBtn;
    TorolBtn = Panel4->TorolBtn;
    HelpBtn = Panel4->HelpBtn;

    mapModel = new MapTableModel(doc, numbers(), this);
    mapModel->setComparison(&m_session->comparison());
    StringGrid1 = new MapGrid(mapModel, p, this);
    StringGrid1->setGeometry(kGridLeft, kGridTop, kGridWidth, p.gridHeight);
    StringGrid1->placeCellSilently({1, 1});
    m_gridBottomMargin = p.windowHeight - kGridTop - p.gridHeight;

    Panel1 = new SettingsPanel(doc, this);
    Panel1->setComparison(&m_session->comparison());
    Panel1->setGeometry(kSettingsGeometry);

    Panel3 = new CommandBar(p.portItemCount, p.firstPortSelectedAtStart, this);
    Panel3->setGeometry(kCommandBarGeometry);
    KilepBtn = Panel3->KilepBtn;
    ComBtn = Panel3->ComBtn;
    LetoltBtn = Panel3->LetoltBtn;

    // The chart is the last control: enlarged, it lies over the panels.
    Chart1 = m_chart->view();
    Chart1->raise();
    m_tableCommands = new TableCommands(*this);
    new GridClipboard(*this);
    new RangeKeys(*this);
    m_settingsChecks = new SettingsChecks(*this);
    Timer1 = &m_session->downloadTimer();
    MSComm1 = &m_session->serialPort();

    setTabOrder(StringGrid1, Panel1->ComboBox1);

    setMinimumSize(kWindowWidth, p.windowMinHeight);
    setMaximumSize(kWindowWidth, p.windowMaxHeight);
    resize(kWindowWidth, p.windowHeight);
    centreOnScreen();
}

void TForm1::observeSession() {
    MapDocument& doc = document();
    setWindowTitle(doc.caption());
    connect(&doc, &MapDocument::captionChanged, this, &QWidget::setWindowTitle);
    LetoltBtn->setEnabled(doc.downloadEnabled());
    connect(&doc, &MapDocument::downloadEnabledChanged, LetoltBtn, &QPushButton::setEnabled);
    connect(&doc, &MapDocument::axisEditModeChanged, StringGrid1,
            [this](bool on) { StringGrid1->setFixedAxes(!on); });
    // A refused cell is brought into view.
    connect(&doc, &MapDocument::markChanged, StringGrid1, [this] {
        if (const auto& cell = document().mark().cell) {
            const int column = qMax(cell->column, StringGrid1->fixedColumnCount());
            StringGrid1->scrollTo(mapModel->index(cell->row, column));
        }
    });
    // No popup menu over the rpm column.
    connect(&doc, &MapDocument::rememberedCellChanged, StringGrid1,
            [this](CellPos cell) { StringGrid1->setAutoPopup(cell.column >= 1); });

    PortChooser& chooser = m_session->portChooser();
    QComboBox* ports = Panel3->Panel5->ComboBox2;
    connect(&chooser, &PortChooser::buttonCaptionChanged, ComBtn, &QPushButton::setText);
    connect(&chooser, &PortChooser::listTextChanged, ports,
            [ports](const QString& text) { selectItemByText(ports, text); });
    connect(ports, &QComboBox::currentTextChanged, &chooser, &PortChooser::setListText);
}

void TForm1::connectCommands() {
    connect(EditBtn, &QPushButton::clicked, this, &TForm1::EditBtnClick);
    connect(KilepBtn, &QPushButton::clicked, this, &TForm1::KilepBtnClick);
    connect(TorolBtn, &QPushButton::clicked, m_tableCommands, &TableCommands::TorolBtnClick);
    connect(StringGrid1, &MapGrid::cellAboutToChange, this, &TForm1::StringGrid1SelectCell);
    connect(StringGrid1, &MapGrid::cellSelected, this, &TForm1::reportAfterMove);
    connect(StringGrid1, &MapGrid::typingRevertRequested, this, [this](int column, int row) {
        document().revertTyping({column, row});
    });
    connect(Chart1, &MapChartView::doubleClicked, this, &TForm1::Chart1DblClick);
    connect(LoadBtn, &QPushButton::clicked, this, &TForm1::LoadBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &TForm1::SaveBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TForm1::HelpBtnClick);
    connect(ComBtn, &QPushButton::clicked, this, &TForm1::ComBtnClick);
    connect(Panel3->Panel5->ComOkBtn, &QPushButton::clicked, this, &TForm1::ComOkBtnClick);
    connect(LetoltBtn, &QPushButton::clicked, this, &TForm1::LetoltBtnClick);

    // The focus going from the grid to another control ends the typing in the current cell:
    // typing there again is a new step.
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            auto inGrid = [this](const QWidget* widget) {
                return widget && (widget == StringGrid1 || StringGrid1->isAncestorOf(widget));
            };
            if (inGrid(old) && now && !inGrid(now) && now->window() == this)
                document().closeEdit();
        });

    // The map's history: Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo.
    auto shortcut = [this](const QKeySequence& keys, void (TForm1::*slot)()) {
        auto* key = new QShortcut(keys, this);
        key->setContext(Qt::WindowShortcut);
        connect(key, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence::Undo, &TForm1::undo);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), &TForm1::redo);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TForm1::redo);
    // The download journal, the comparison and the value colours: keys only, the window's
    // controls stay as they are.
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_L), &TForm1::showJournal);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), &TForm1::toggleValueColours);
    m_comparisonControls = new ComparisonControls(*this);
    // The key legend, likewise.
    shortcut(QKeySequence(Qt::Key_F1), &TForm1::showKeyLegend);
}

void TForm1::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
}

MapDocument& TForm1::document() const {
    return m_session->document();
}

const VariantProfile& TForm1::profile() const {
    return m_session->profile();
}

Prompter& TForm1::prompter() const {
    return m_session->prompter();
}

const NumberFormat& TForm1::numbers() const {
    return m_session->numbers();
}

const QString& TForm1::startupFolder() const {
    return m_session->folders().startup;
}

const QString& TForm1::currentMapFileName() const {
    return document().currentMapFileName();
}

CellPos TForm1::rememberedCell() const {
    return document().rememberedCell();
}

void TForm1::setRememberedCell(CellPos cell) {
    document().setRememberedCell(cell);
}

const MapTable& TForm1::table() const {
    return document().table();
}

bool TForm1::axisEditMode() const {
    return StringGrid1->fixedColumnCount() == 0;
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

bool TForm1::ReadMapFile(const QString& fileName) {
    return m_session->readMapFile(fileName);
}

bool TForm1::WriteMapFile(const QString& fileName) {
    return m_session->writeMapFile(fileName);
}

bool TForm1::ValidateForDownload() const {
    return m_session->validateForDownload();
}

int TForm1::portNumber() const {
    return m_session->portChooser().portNumber();
}

void TForm1::runCommand(const std::function<void()>& command) {
    m_session->run(command);
}

void TForm1::EditBtnClick() {
    m_session->toggleAxisEdit();
    StringGrid1->viewport()->update();
}

void TForm1::StringGrid1SelectCell(int column, int row) {
    m_errorAfterMove = m_session->selectionMoving({column, row});
}

void TForm1::reportAfterMove() {
    // The chart refresh failed on a cell that is not a number: told once the move is done.
    if (const auto error = std::exchange(m_errorAfterMove, std::nullopt))
        prompter().showError(*error);
}

void TForm1::Chart1DblClick() {
    runCommand([this] { StringGrid1->setVisible(!m_chart->toggleEnlarged()); });
}

void TForm1::LoadBtnClick() {
    m_session->load();
}

void TForm1::SaveBtnClick() {
    m_session->save();
}

void TForm1::KilepBtnClick() {
    m_session->exit();
}

void TForm1::HelpBtnClick() {
    runCommand([this] {
        if (m_helpForm)
            m_helpForm->showHelp();
    });
}

void TForm1::ComBtnClick() {
    runCommand([this] { setChooserShown(true); });
}

void TForm1::ComOkBtnClick() {
    if (m_session->confirmPort())
        setChooserShown(false);
}

void TForm1::setChooserShown(bool shown) {
    CommandBar* bar = Panel3;
    // The chooser lies over the command bar: its buttons cannot be reached meanwhile, not
    // even with the keyboard.
    for (QPushButton* button : {bar->KilepBtn, bar->LetoltBtn, bar->ComBtn})
        button->setVisible(!shown);
    bar->Panel5->setVisible(shown);
    if (shown) {
        bar->Panel5->raise();
        bar->Panel5->ComboBox2->setFocus();
    }
}

void TForm1::LetoltBtnClick() {
    m_session->startDownload();
}

void TForm1::Timer1Timer() {
    m_session->downloadTick();
}

void TForm1::undo() {
    m_session->undo();
}

void TForm1::redo() {
    m_session->redo();
}

JournalWindow* TForm1::journalWindow() const {
    return m_journalWindow;
}

void TForm1::showJournal() {
    if (!m_journalWindow) {
        m_journalWindow = new JournalWindow(*m_session, this);
        m_comparisonControls->addTo(*m_journalWindow);
    }
    m_journalWindow->refresh();
    m_journalWindow->show();
    m_journalWindow->raise();
    m_journalWindow->activateWindow();
}

void TForm1::toggleValueColours() {
    mapModel->setValueColours(!mapModel->valueColours());
}

KeyLegendWindow* TForm1::keyLegend() const {
    return m_keyLegend;
}

void TForm1::showKeyLegend() {
    if (!m_keyLegend)
        m_keyLegend = new KeyLegendWindow(profile().hasSlopeFill, this);
    m_keyLegend->show();
    m_keyLegend->raise();
    m_keyLegend->activateWindow();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The grid is anchored to the bottom edge: it follows the window's height.
    StringGrid1->resize(kGridWidth, qMax(0, height() - kGridTop - m_gridBottomMargin));
}

} // namespace zerwa
