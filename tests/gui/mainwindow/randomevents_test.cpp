// SPDX-License-Identifier: GPL-3.0-or-later
// Each program's main window in a person's hands: events drawn from a seed (clicks on cells,
// fields, lists and buttons, Tab, Shift+Tab, typed texts, the history and clipboard keys, the
// popup's steps), the program's own message boxes and dialogs answered as a person would. After
// every event the window shows the document, every settings field left since the last load,
// clear, undo or redo holds a value its rule accepts, and the chart shows what its last refresh
// gave it; at the end the history undoes as far as it reaches and redoes back to the same texts.
// ZERWA_EVENTS: events per program; ZERWA_EVENT_SEED: the seed to replay; ZERWA_EVENT_LOG=1:
// every event printed as it runs (so a crash replayed shows its events). A failure prints the
// events up to it.
#include "core/model/mapclipboard.h"
#include "core/model/settingsrules.h"
#include "document/compare/mapcomparison.h"
#include "document/model/mapdocument.h"
#include "document/session/mapsession.h"
#include "gui/chart/chartmirror.h"
#include "gui/chart/mapchartview.h"
#include "gui/dialogs/rangedialog.h"
#include "gui/dialogs/tfuggvenyform.h"
#include "gui/dialogs/thelpform.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/mainwindow/portchooserpanel.h"
#include "gui/mainwindow/programwindows.h"
#include "gui/mainwindow/teditform.h"
#include "gui/support/formfixture.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>

#include <random>

using namespace zerwa;

namespace {

std::mt19937 g_random; // the events; the answers have a sequence of their own
int pick(std::mt19937& random, int n) {
    return int(random() % unsigned(n));
}
QString pickFrom(std::mt19937& random, const QStringList& texts) {
    return texts.at(pick(random, int(texts.size())));
}

// What a person types: good values of every field, bad ones and odd ones.
const QStringList kTexts =
    QStringLiteral("12,5|0,5|63,5|7|600|3500|15000|12000|*|1,5|2|0,2|180|50|510|10|70|abc|-1|1.5|0|"
                   "99999|64|*x| *||  |05|1e3|٣|½|∞|ő€|中|1,2,3|0,50000000001|")
        .split(u'|') +
    QStringList{QString(40, u'9')};

// Typing as a keyboard does it: one key a character, any character.
void type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, c == u' ' ? Qt::Key_Space : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
}

QString g_events; // the events so far

// Answers every modal dialog as a person would, from its own random sequence, and notes what
// it was asked during the current event. Each answer is an event of its own, so that a box an
// answer brings up is answered in turn.
class Answerer : public QObject {
public:
    struct Seen {
        bool error = false, refused = false, clearYes = false, fillAccepted = false;
        bool fillAsked = false;
        int opened = 0, notRead = 0; // a space typed on Load may open two files
    };
    Answerer(quint32 seed, QString folder)
        : m_random(seed)
        , m_folder(std::move(folder)) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (m_answering || !dialog || !dialog->isVisible())
                return;
            m_answering = true;
            QTimer::singleShot(0, this, [this, dialog = QPointer<QDialog>(dialog)] {
                m_answering = false;
                if (dialog && dialog->isVisible())
                    answer(dialog);
            });
        });
        m_timer.start(1);
    }
    Seen seen;
    int answered = 0;

private:
    bool chance(int percent) { return pick(m_random, 100) < percent; }
    void answer(QDialog* dialog) {
        ++answered;
        if (auto* box = qobject_cast<QMessageBox*>(dialog))
            answerBox(box);
        else if (auto* correction = qobject_cast<TEditForm*>(dialog))
            answerCorrection(correction);
        else if (auto* fill = qobject_cast<TFuggvenyForm*>(dialog))
            answerSlopeFill(fill);
        else if (auto* files = qobject_cast<QFileDialog*>(dialog))
            answerFiles(files);
        else if (auto* range = qobject_cast<RangeDialog*>(dialog))
            answerRange(range);
    }
    // Yes by Enter or its button; No (or OK) by Escape, the frame's close button or a button.
    void answerBox(QMessageBox* box) {
        const QString text = box->text();
        seen.error = seen.error || box->icon() == QMessageBox::Critical;
        seen.notRead += text.startsWith("Nem megfelelő") || text.startsWith("Nem tudom megnyitni");
        // A paste or a command on marked cells that changed nothing.
        seen.refused =
            seen.refused || text.section('\n', 0, 0).endsWith("a táblázat nem változott.");
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        const bool sayYes = yes && text != "Elmentette a változásokat?" && chance(60);
        seen.clearYes = seen.clearYes || (sayYes && text.startsWith("Biztosan törölni"));
        const int way = pick(m_random, 3);
        if (sayYes)
            way ? QTest::mouseClick(yes, Qt::LeftButton) : QTest::keyClick(box, Qt::Key_Return);
        else if (way == 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else if (way == 1)
            box->close();
        else
            yes ? QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton)
                : QTest::keyClick(box, Qt::Key_Return);
    }
    void answerCorrection(TEditForm* dialog) {
        const bool rpm = dialog->StaticText1->text().contains("600");
        const QString valid = pickFrom(m_random, rpm ? QStringList{"600", "3500", "12000"}
                                                     : QStringList{"0,5", "12,5", "63,5"});
        dialog->Edit1->selectAll();
        type(dialog->Edit1, chance(60) ? valid : pickFrom(m_random, kTexts));
        chance(50) ? QTest::keyClick(dialog, Qt::Key_Return)
                   : QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
    }
    void answerSlopeFill(TFuggvenyForm* dialog) {
        seen.fillAsked = true;
        if (chance(25))
            return chance(50) ? QTest::keyClick(dialog, Qt::Key_Escape)
                              : QTest::mouseClick(dialog->BtnCancel, Qt::LeftButton);
        dialog->LEEmelkedes->setText(pickFrom(m_random, {"1,5", "-2", "0", "abc", ""}));
        dialog->LELepes->setText(pickFrom(m_random, {"4", "1", "100", "x"}));
        QTest::mouseClick(dialog->BtnOk, Qt::LeftButton);
        seen.fillAccepted = !dialog->isVisible();
    }
    // An operation and an amount, then OK where it is offered, or Escape.
    void answerRange(RangeDialog* dialog) {
        dialog->operationButtons.at(pick(m_random, int(dialog->operationButtons.size())))->click();
        if (dialog->amountEdit->isEnabled()) {
            dialog->amountEdit->selectAll();
            type(dialog->amountEdit, pickFrom(m_random, {"1", "-2,5", "110", "0", "abc", "1E300"}));
        }
        dialog->okButton->isEnabled() && chance(80)
            ? QTest::mouseClick(dialog->okButton, Qt::LeftButton)
            : QTest::keyClick(dialog, Qt::Key_Escape);
    }
    // A name typed into the dialog's name field, then Enter; or Escape.
    void answerFiles(QFileDialog* dialog) {
        const bool open = dialog->acceptMode() == QFileDialog::AcceptOpen;
        const QStringList names =
            open ? QDir(m_folder).entryList(QDir::Files) : QStringList{"a.qmt", "b.qmt", "c"};
        if (names.isEmpty() || chance(25))
            return QTest::keyClick(dialog, Qt::Key_Escape);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(pickFrom(m_random, names));
        QTest::keyClick(name, Qt::Key_Return);
        seen.opened += open && !dialog->isVisible();
    }

    std::mt19937 m_random;
    QString m_folder;
    QTimer m_timer;
    bool m_answering = false;
};

// What the chart shows: the points of every line, the line titles, the rpm labels.
struct ChartState {
    QList<QList<qreal>> values;
    QStringList titles, labels;
};

ChartState shownBy(const ChartMirror& chart) {
    ChartState state{{}, {}, chart.rpmLabels()};
    for (int c = 1; c <= chart.seriesCount(); ++c) {
        state.values << QList<qreal>();
        for (const QPointF& point : chart.series(c)->points())
            state.values.last() << point.y();
        state.titles << chart.series(c)->name();
    }
    return state;
}

// The refreshes: copies of the cells, the values in row order up to the first cell that is
// not a number. Returns whether every value was copied.
bool refresh(ChartState& state, const MapTable& table, bool titles, bool labels) {
    for (int c = 1; titles && c <= state.titles.size(); ++c)
        state.titles[c - 1] = table.cell(c, 0);
    for (int k = 0; labels && k < state.labels.size(); ++k)
        state.labels[k] = table.cell(0, k + 1);
    for (int k = 0; k < state.values.value(0).size(); ++k)
        for (int c = 1; c <= state.values.size(); ++c) {
            const auto value = NumberFormat(u',').parse(table.cell(c, k + 1));
            if (!value)
                return false;
            state.values[c - 1][k] = *value;
        }
    return true;
}

// What an event did to the map, as far as the chart is concerned.
enum class Kind { Other, Step, Fill, Load, Clear, Paste, Range, History, Compare, Count };

// One person at one program's window.
class Run {
public:
    Run(const test::ProgramFacts& program, quint32 seed)
        : m_program(program)
        , m_fixture(program.profile())
        , m_answerer(seed + 1, m_fixture.folder()) {
        m_fixture.usePrompter(m_prompter);
        m_windows = std::make_unique<ProgramWindows>(m_fixture.context(), m_prompter);
        form().show();
        form().Timer1->setInterval(1); // the break wait, shortened
        settle();
        m_expected = shownBy(*form().chart());
        m_left = form().rememberedCell();
        m_base = texts();
        // Each move of the selection checks the cell left and refreshes the chart.
        QObject::connect(form().StringGrid1, &MapGrid::cellSelected, &form(), [this] {
            refresh(m_expected, form().table(), m_left.row == 0, m_left.column == 0);
            m_left = form().rememberedCell();
        });
    }
    TForm1& form() const { return m_windows->form(); }

    // Runs one event and checks the window after it; returns what is wrong.
    QString step(int number) {
        const QString name = next();
        g_events += QStringLiteral("%1 %2\n").arg(number).arg(name);
        if (qEnvironmentVariableIntValue("ZERWA_EVENT_LOG"))
            qInfo("%d %s", number, qPrintable(name));
        const MapTable before = form().table();
        const QUndoStack& history = form().document().history();
        const int historyBefore = history.index();
        const bool stepsThere = m_historyStep < 0 ? history.canUndo() : history.canRedo();
        QWidget* focusBefore = form().focusWidget();
        m_answerer.seen = {};
        m_event();
        settle();
        const Kind kind = happened();
        ++m_counts[int(kind)];
        m_compared += form().session().comparison().isOn();
        QString wrong = std::exchange(m_wrong, QString());
        if (wrong.isEmpty())
            wrong = viewMismatch();
        if (m_historyStep && history.index() != historyBefore + (stepsThere ? m_historyStep : 0))
            wrong = QStringLiteral("the undo or redo key took the history from step %1 to %2")
                        .arg(historyBefore)
                        .arg(history.index());
        if (wrong.isEmpty())
            wrong = chartMismatch(kind, before, historyBefore);
        if (wrong.isEmpty())
            wrong = settingsMismatch(kind, focusBefore);
        if (history.count() == 0)
            m_base = texts();
        m_baseKnown = m_baseKnown && history.count() < MapDocument::kHistoryLimit;
        return wrong;
    }

    QString summary() {
        QString text = QStringLiteral("%1 boxes and dialogs answered").arg(m_answerer.answered);
        const char* names[] = {
            "",       "column steps",   "slope fills",       "loads",          "clears",
            "pastes", "range commands", "undo or redo keys", "comparison keys"};
        for (int kind = 1; kind < int(Kind::Count); ++kind)
            text += QStringLiteral(", %1 %2").arg(m_counts[kind]).arg(names[kind]);
        return text + QStringLiteral(", %1 downloads, %2 events with a comparison on")
                          .arg(m_fixture.serial().ops().count(test::SerialRecorder::Op::Close))
                          .arg(m_compared);
    }

    // Undo as far as the history reaches (to the texts it started from, when it kept every
    // step), and redo back.
    QString undoAndRedoAll() {
        const QStringList end = texts();
        QUndoStack& history = form().document().history();
        const int endIndex = history.index();
        for (const bool back : {true, false}) {
            while (back ? history.canUndo() : history.canRedo() && history.index() < endIndex) {
                back ? form().undo() : form().redo();
                settle();
                if (const QString wrong = viewMismatch(); !wrong.isEmpty())
                    return wrong;
            }
            if (!back && history.index() != endIndex)
                return QStringLiteral("redo back stopped at step %1 of %2")
                    .arg(history.index())
                    .arg(endIndex);
            const QStringList& expected = back ? m_base : end;
            for (int i = 0; (!back || m_baseKnown) && i < expected.size(); ++i)
                if (texts().at(i) != expected.at(i))
                    return QStringLiteral("%1: line %2 reads \"%3\", not \"%4\"")
                        .arg(back ? "undo to the start" : "redo back")
                        .arg(i)
                        .arg(texts().at(i), expected.at(i));
        }
        return {};
    }

private:
    // Between two events: the download done, menus closed, and the window active again after
    // a box or the help window, as the window manager would bring it back.
    void settle() {
        (void)QTest::qWaitFor([this] { return !form().Timer1->isActive(); }, 5000);
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        // A window shown and hidden within the event may still be taking the focus: offscreen,
        // a popup takes it when shown, even after it has closed again.
        auto active = [this] {
            return QApplication::activeWindow() == &form() &&
                   QGuiApplication::focusWindow() == form().windowHandle();
        };
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::processEvents();
            if (!active()) {
                form().activateWindow();
                (void)QTest::qWaitFor(active);
            }
        }
    }

    bool inGrid() const {
        QWidget* focus = focused();
        return focus == form().StringGrid1 || form().StringGrid1->isAncestorOf(focus);
    }
    QWidget* focused() const {
        QWidget* widget = QApplication::focusWidget();
        return widget ? widget : &form();
    }
    QString focusName() const {
        const QWidget* widget = focused();
        return widget->objectName().isEmpty()
                   ? QString::fromLatin1(widget->metaObject()->className())
                   : widget->objectName();
    }
    void clickCell(CellPos cell, Qt::MouseButton button) {
        if (form().StringGrid1->isVisible())
            test::clickCell(form(), cell, button);
    }
    // Keys to an open list or menu.
    static void keys(QWidget* popup, const QList<Qt::Key>& keys) {
        for (const Qt::Key key : keys)
            if (QWidget* target = popup ? popup : QApplication::activePopupWidget())
                if (target->isVisible())
                    QTest::keyClick(target, key);
    }
    // Spreadsheet blocks, mostly of good data values; now and then a whole map or a value
    // longer than a map file line.
    QString clipboardText() {
        if (pick(g_random, 10) == 0)
            return pick(g_random, 2)
                       ? mapclipboard::copyText(form().table(), {0, 0},
                                                {m_program.mapColumns, m_program.rpmRows})
                       : QString(40000, u'1');
        const bool odd = pick(g_random, 3) == 0;
        QString text;
        for (int r = 0, rows = 1 + pick(g_random, 3), columns = 1 + pick(g_random, 3); r < rows;
             ++r) {
            for (int c = 0; c < columns; ++c)
                text += (c ? "\t" : "") +
                        pickFrom(g_random, odd ? kTexts : QStringList{"0,5", "12,5", "33", "1"});
            text += pick(g_random, 2) ? "\r\n" : "\n";
        }
        return text;
    }

    // Draws the next event into m_event; returns its description.
    QString next() {
        struct Key {
            const char* name;
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int historyStep;    // -1 undo, 1 redo
            bool range = false; // a command on the marked cells, in the grid
        };
        // clang-format off
        static const Key kKeys[] = {
            {"Tab", Qt::Key_Tab, {}, 0}, {"Tab", Qt::Key_Tab, {}, 0},
            {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, 0}, {"Enter", Qt::Key_Return, {}, 0},
            {"Escape", Qt::Key_Escape, {}, 0}, {"Up", Qt::Key_Up, {}, 0},
            {"Down", Qt::Key_Down, {}, 0}, {"Left", Qt::Key_Left, {}, 0},
            {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, -1}, {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, -1},
            {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier, 1},
            {"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 1},
            {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, 0},
            {"Ctrl+Shift+C", Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, 0},
            {"Ctrl+H", Qt::Key_H, Qt::ControlModifier, 0}, {"F3", Qt::Key_F3, {}, 0},
            {"Shift+F3", Qt::Key_F3, Qt::ShiftModifier, 0}, {"Ctrl+D", Qt::Key_D, Qt::ControlModifier, 2},
            {"Ctrl+Shift+D", Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier, 2},
            {"Ctrl+Return", Qt::Key_Return, Qt::ControlModifier, 0, true},
            {"keypad Ctrl+Enter", Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, 0, true},
            {"Ctrl+I", Qt::Key_I, Qt::ControlModifier, 0, true},
            {"Ctrl+M", Qt::Key_M, Qt::ControlModifier, 0, true}, {"F1", Qt::Key_F1, {}, 0}};
        // clang-format on
        const CellPos cell{1 + pick(g_random, m_program.mapColumns),
                           1 + pick(g_random, m_program.rpmRows)};
        const int n = pick(g_random, 8);
        m_kind = Kind::Other;
        m_historyStep = 0;
        SettingsPanel* panel = form().Panel1;
        switch (pick(g_random, 20)) { // 0 to 2 and 19: a click on a cell
        case 3: {
            const CellPos axis = n < 4 ? CellPos{0, cell.row} : CellPos{cell.column, 0};
            m_event = [=, this] { clickCell(axis, Qt::LeftButton); };
            return QStringLiteral("click cell (%1, %2)").arg(axis.column).arg(axis.row);
        }
        case 4:
        case 5: {
            QLineEdit* field = QList<QLineEdit*>{panel->Edit1, panel->Edit2, panel->Edit3}[n % 3];
            m_event = [=] { QTest::mouseClick(field, Qt::LeftButton, {}, {2 + 9 * n, 12}); };
            return "click " + field->objectName();
        }
        case 6: {
            QList<QComboBox*> lists = {panel->ComboBox1, panel->ComboBox3, panel->ComboBox4};
            if (form().Panel3->Panel5->isVisible())
                lists << form().Panel3->Panel5->ComboBox2;
            QComboBox* list = lists.at(n % lists.size());
            const QList<Qt::Key> choice = QList<Qt::Key>(n % 4, Qt::Key_Down)
                                          << (n < 6 ? Qt::Key_Return : Qt::Key_Escape);
            m_event = [=] {
                QTest::mouseClick(list, Qt::LeftButton);
                keys(list->view(), choice);
            };
            return QStringLiteral("choose in %1: %2 down").arg(list->objectName()).arg(n % 4);
        }
        case 7:
        case 8: { // every visible button; Letöltés and Save more often
            QList<QPushButton*> buttons = {form().LetoltBtn, form().SaveBtn};
            for (QPushButton* button : form().findChildren<QPushButton*>())
                if (button->isVisible())
                    buttons << button;
            QPushButton* button = buttons.at(pick(g_random, int(buttons.size())));
            THelpForm* help = &m_windows->helpForm();
            m_event = [=, this] {
                QTest::mouseClick(button, Qt::LeftButton);
                if (button == form().HelpBtn && !help->isVisible())
                    m_wrong = "the help button showed no help window";
                if (n < 4 && help->isVisible())
                    QTest::mouseClick(help->EndhelpBtn, Qt::LeftButton);
            };
            return "click " + button->objectName();
        }
        case 9:
        case 10:
        case 11: {
            const Key& key = kKeys[pick(g_random, std::size(kKeys))];
            m_historyStep = key.historyStep == 2 ? 0 : key.historyStep;
            m_kind = key.historyStep == 2    ? Kind::Compare
                     : key.historyStep       ? Kind::History
                     : key.range && inGrid() ? Kind::Range
                                             : Kind::Other;
            m_event = [=, this] { QTest::keyClick(focused(), key.key, key.modifiers); };
            return QString::fromLatin1(key.name) + " in " + focusName();
        }
        case 12:
        case 13:
        case 14: {
            const QString text = pickFrom(g_random, kTexts);
            m_event = [=, this] { type(focused(), text); };
            return "type \"" + text + "\" in " + focusName();
        }
        case 15: {
            const QString block = clipboardText();
            const bool add = n < 3; // Ctrl+Shift+V adds the block
            if (inGrid())
                m_kind = add ? Kind::Range : Kind::Paste;
            m_event = [=, this] {
                QApplication::clipboard()->setText(block);
                QTest::keyClick(focused(), Qt::Key_V,
                                add ? Qt::ControlModifier | Qt::ShiftModifier
                                    : Qt::ControlModifier);
            };
            return (add ? "Ctrl+Shift+V \"" : "Ctrl+V \"") +
                   block.left(40).replace('\t', "\\t").replace('\n', "\\n") + "\" in " +
                   focusName();
        }
        case 16:
        case 17: { // Plusz or Minusz, then one of their steps; or Függvény, where there is one
            const bool fill = m_program.slopeFill && n == 7;
            const QList<Qt::Key> choice =
                fill ? QList<Qt::Key>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}
                     : QList<Qt::Key>(1 + n % 2, Qt::Key_Down)
                           << Qt::Key_Right << QList<Qt::Key>(n % 5, Qt::Key_Down)
                           << Qt::Key_Return;
            m_kind = fill ? Kind::Fill : Kind::Step;
            m_event = [=, this] {
                clickCell(cell, Qt::RightButton);
                const bool opened = QApplication::activePopupWidget();
                keys(nullptr, choice);
                m_stepped = opened && !QApplication::activePopupWidget();
                if (fill && m_stepped && !m_answerer.seen.fillAsked)
                    m_wrong = "Függvény brought no slope-fill dialog";
            };
            return fill ? QStringLiteral("popup: Függvény")
                        : QStringLiteral("popup: %1 %2").arg(n % 2 ? "Minusz" : "Plusz").arg(n % 5);
        }
        case 18:
            m_event = [this] { QTest::mouseDClick(form().Chart1->viewport(), Qt::LeftButton); };
            return "double click on the chart";
        default:
            m_event = [=, this] { clickCell(cell, Qt::LeftButton); };
            return QStringLiteral("click cell (%1, %2)").arg(cell.column).arg(cell.row);
        }
    }

    // What the event did to the map: a button may have been pressed by a click or by the space
    // bar, so the questions answered tell.
    Kind happened() const {
        const Answerer::Seen& seen = m_answerer.seen;
        if (m_kind == Kind::Compare) // its file dialog reads a map, into no document
            return Kind::Compare;
        if (seen.clearYes)
            return Kind::Clear;
        if (seen.opened > seen.notRead)
            return Kind::Load;
        if (seen.fillAccepted)
            return Kind::Fill;
        if (m_kind == Kind::Step)
            return m_stepped ? Kind::Step : Kind::Other;
        if (m_kind == Kind::Paste || m_kind == Kind::Range)
            return seen.refused ? Kind::Other : m_kind;
        return m_kind == Kind::History ? Kind::History : Kind::Other;
    }

    QStringList texts() const {
        const SettingsBlock& s = form().document().settings();
        return QStringList{s.cylinders, s.limitRpm,      s.opening,
                           s.closing,   s.inputPolarity, s.outputPolarity} +
               mapclipboard::copyText(form().table(), {0, 0},
                                      {m_program.mapColumns, m_program.rpmRows})
                   .split(u'\n');
    }

    QString viewMismatch() const {
        const MapDocument& doc = form().document();
        const MapGrid* grid = form().StringGrid1;
        if (form().Panel1->settings() != doc.settings())
            return "the settings panel shows other settings than the map's";
        for (const QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible() && editor->text() != doc.cell(grid->currentCell()))
                return "the cell editor shows \"" + editor->text() + "\", the cell holds \"" +
                       doc.cell(grid->currentCell()) + '"';
        if ((grid->fixedColumnCount() == 0) != doc.axisEditMode() ||
            form().LetoltBtn->isEnabled() != doc.downloadEnabled() ||
            form().windowTitle() != doc.caption())
            return "the axes, the download button or the caption do not show the map's state";
        return marksMismatch();
    }

    // While a comparison is on, exactly the cells and settings whose texts differ from the
    // reference's are marked, whatever the last event did; none are when it is off.
    QString marksMismatch() const {
        const MapComparison& comparison = form().session().comparison();
        const MapDocument& doc = form().document();
        for (int i = 0; i < doc.table().cellCount(); ++i) {
            const CellPos cell = doc.table().posOf(i);
            const bool differs = comparison.isOn() &&
                                 comparison.reference().table.cellAt(i) != doc.table().cellAt(i);
            if (form().mapModel->decoration(cell.column, cell.row).differs != differs)
                return QStringLiteral("cell (%1, %2) is marked wrongly")
                    .arg(cell.column)
                    .arg(cell.row);
        }
        for (int i = 0; i < kSettingFieldCount; ++i) {
            const auto field = SettingField(i);
            const bool differs = comparison.isOn() && fieldOf(comparison.reference().settings,
                                                              field) != doc.setting(field);
            if (form().Panel1->field(field)->font().bold() != differs)
                return form().Panel1->field(field)->objectName() + " is marked wrongly";
        }
        return {};
    }

    // The refreshes the event called for. Where the call depends on more than the person sees
    // (an error on the way, an undone step whose cells came out the same), either picture
    // passes.
    QString chartMismatch(Kind kind, const MapTable& before, int historyBefore) {
        const MapTable& table = form().table();
        bool data = false, headings = false, rpm = false;
        for (int c = 0; c < table.columns(); ++c)
            for (int r = 0; r < table.rows(); ++r)
                if (table.cell(c, r) != before.cell(c, r)) {
                    data = data || (c > 0 && r > 0);
                    headings = headings || (r == 0 && c > 0);
                    rpm = rpm || (c == 0 && r > 0);
                }
        enum Rule { Keep, Must, May, Any } values = Keep, titles = Keep, labels = Keep;
        const QUndoStack& history = form().document().history();
        const int index = history.index();
        switch (kind) {
        case Kind::Step:
        case Kind::Fill:
            values = m_answerer.seen.error ? May : Must;
            break;
        case Kind::Load: // the titles after the values, when those went through; two loads
                         // (a double space on Load) may each have stopped at another cell,
                         // leaving the first one's values beyond where the second stopped
            values = m_answerer.seen.opened > 1 ? Any : Must;
            titles = May;
            break;
        case Kind::Clear: // the lines flat at their column numbers, the titles with the axes
            values = Must;
            titles = form().document().axisEditMode() ? Must : Keep;
            break;
        case Kind::Paste:
            values = data ? Must : Keep;
            titles = headings ? Must : Keep;
            labels = rpm ? Must : Keep;
            break;
        case Kind::Range: // what changed; a fill refreshes as the check of its cell would
            values = data && !m_answerer.seen.error ? Must : May;
            titles = headings ? Must : May;
            labels = rpm ? Must : May;
            break;
        case Kind::History: { // what the step changed; a clear leaves the rpm labels as they were
            const bool clear = index != historyBefore &&
                               history.text(index < historyBefore ? index : index - 1) == "clear";
            values = data ? Must : May;
            titles = headings && !clear ? Must : May;
            labels = rpm && !clear ? Must : May;
            break;
        }
        default:
            break;
        }
        ChartState refreshed = m_expected;
        if (kind == Kind::Load && values == Must && refresh(refreshed, table, false, false))
            titles = Must;
        refresh(refreshed, table, true, true);
        const ChartState shown = shownBy(*form().chart());
        QStringList wrong;
        auto check = [&](auto member, Rule rule, const char* what) {
            const bool kept = shown.*member == m_expected.*member;
            const bool fresh = shown.*member == refreshed.*member;
            if (rule == Must ? !fresh : rule == Keep ? !kept : rule == May && !(kept || fresh))
                wrong << QString::fromLatin1(what);
            m_expected.*member = shown.*member;
        };
        check(&ChartState::values, values, "values");
        check(&ChartState::titles, titles, "titles");
        check(&ChartState::labels, labels, "rpm labels");
        return wrong.isEmpty()
                   ? QString()
                   : "the chart's " + wrong.join(", ") + " are not what its last refresh gave it";
    }

    // A field left (the window's focus went from it to another of its controls; a window shown
    // and hidden again within an event can leave the window with no focus, offscreen, which is
    // no move of the person's) holds a value its rule accepts until a load, clear, undo or
    // redo; a field being typed in, and the closing while the opening is, are not judged.
    QString settingsMismatch(Kind kind, QWidget* focusBefore) {
        SettingsPanel* panel = form().Panel1;
        const QList<QWidget*> fields = {panel->Edit1, panel->Edit2, panel->Edit3};
        QWidget* focus = form().focusWidget();
        if (fields.contains(focusBefore) && focus && focus != focusBefore)
            m_leftFields.insert(int(fields.indexOf(focusBefore)));
        if (kind == Kind::Load || kind == Kind::Clear || kind == Kind::History)
            m_leftFields.clear();
        const SettingsBlock& s = form().document().settings();
        const NumberFormat numbers(u',');
        for (const int i : m_leftFields) {
            if (focus == fields.at(i) || (i == 2 && focus == panel->Edit2))
                continue;
            // Leaving the opening in control mode lets a closing angle above 510 stand.
            const bool accepted =
                i == 0 ? !settingsrules::leaveLimitRpm(s.limitRpm, m_program.rpmCeiling, numbers)
                              .message
                : i == 1 ? !settingsrules::leaveOpening(s.opening, s.closing, numbers).message
                : s.opening == "*"
                    ? !settingsrules::leaveOpening(s.opening, s.closing, numbers).closingReplacement
                    : !settingsrules::leaveClosing(s.opening, s.closing, numbers).message;
            if (!accepted)
                return fields.at(i)->objectName() + " was left holding \"" + s.limitRpm + '|' +
                       s.opening + '|' + s.closing + '"';
        }
        return {};
    }

    const test::ProgramFacts& m_program;
    test::FormFixture m_fixture;
    QtPrompter m_prompter;
    std::unique_ptr<ProgramWindows> m_windows;
    Answerer m_answerer;
    std::function<void()> m_event;
    Kind m_kind = Kind::Other;
    bool m_stepped = false;
    QString m_wrong; // what the event itself found wrong
    int m_historyStep = 0;
    ChartState m_expected;
    CellPos m_left;
    QSet<int> m_leftFields;
    int m_counts[int(Kind::Count)] = {};
    int m_compared = 0;
    QStringList m_base;
    bool m_baseKnown = true;
};

} // namespace

class RandomEventsTest : public QObject {
    Q_OBJECT

private slots:
    void aPersonAtTheWindow_data() { test::addProgramRows(); }
    void aPersonAtTheWindow() {
        QFETCH(const test::ProgramFacts*, program);
        const int count = qEnvironmentVariableIsSet("ZERWA_EVENTS")
                              ? qEnvironmentVariableIntValue("ZERWA_EVENTS")
                              : 300;
        const quint32 seed = qEnvironmentVariableIsSet("ZERWA_EVENT_SEED")
                                 ? qEnvironmentVariable("ZERWA_EVENT_SEED").toUInt()
                                 : QRandomGenerator::global()->generate();
        qInfo("%s: %d events, seed %u (to replay: ZERWA_EVENT_SEED=%u ZERWA_EVENTS=%d)",
              program->name, count, seed, seed, count);
        g_events = QStringLiteral("%1, seed %2\n").arg(program->name).arg(seed);
        // Each program its own sequence from the one seed.
        g_random.seed(seed + quint32(program - test::programFacts().data()));
        Run run(*program, g_random());
        QString wrong;
        for (int i = 0; i < count && wrong.isEmpty(); ++i)
            wrong = run.step(i);
        qInfo("%s: %s", program->name, qPrintable(run.summary()));
        if (wrong.isEmpty())
            wrong = run.undoAndRedoAll();
        if (!wrong.isEmpty())
            QFAIL(qPrintable("Events up to the failure:\n" + g_events + "seed " +
                             QString::number(seed) + ": " + wrong));
    }
};

QTEST_MAIN(RandomEventsTest)
#include "randomevents_test.moc"
