// SPDX-License-Identifier: GPL-3.0-or-later
// The window with the program's own modal boxes and dialogs. The settings checks and the grid's
// cell check: a box opened while the focus moves must not let a field go unchecked, nor swallow
// the click that moved the focus. The commands on marked cells through their keys: a fill from
// the open editor with and without the correction dialog, the interpolation, the range dialog's
// OK and Cancel, each one step of the history; the HTML of a copy; the key legend.
#include "core/model/mapclipboard.h"
#include "document/model/mapdocument.h"
#include "gui/dialogs/keylegendwindow.h"
#include "gui/dialogs/rangedialog.h"
#include "gui/mainwindow/teditform.h"
#include "gui/support/formfixture.h"

#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

using namespace zerwa;

namespace {

QWidget* g_window = nullptr; // the window under test

// The window with the program's own dialogs, shown and active.
struct Window {
    explicit Window(const VariantProfile& profile)
        : fixture(profile)
        , form(&fixture.startWithOwnDialogs(prompter)) {
        g_window = form;
    }
    // Marks the range with a click and a Shift+click, as a person does.
    void mark(CellRange range) {
        test::clickCell(*form, range.topLeft);
        test::clickCell(*form, range.bottomRight, Qt::LeftButton, Qt::ShiftModifier);
    }
    // The range's texts, a tab between cells and a line end after each row.
    QString texts(CellRange range) const {
        return mapclipboard::copyText(form->table(), range.topLeft, range.bottomRight);
    }
    int steps() const { return form->document().history().index(); }
    QtPrompter prompter;
    test::FormFixture fixture;
    TForm1* form;
};

// Runs `answer` on the next modal dialog of type T once it is open.
template <typename T> void whenOpen(QObject* context, std::function<void(T*)> answer) {
    QTimer::singleShot(10, context, [context, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            answer(dialog);
        else
            whenOpen<T>(context, answer);
    });
}

// The window active again after a dialog, as the window manager brings it back: a dialog
// closes the cell editor, and the grid opens a new one when it has the focus again.
QWidget* focused() {
    auto active = [] {
        return QApplication::activeWindow() == g_window && QApplication::focusWidget() &&
               QGuiApplication::focusWindow() == g_window->windowHandle();
    };
    if (!active())
        g_window->activateWindow();
    (void)QTest::qWaitFor(active);
    return QApplication::focusWidget();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(focused(), key, modifiers);
}

QLineEdit* cellEditor() {
    return qobject_cast<QLineEdit*>(focused());
}

// Closes every modal dialog shortly after it opens, noting what it was: a message box by its
// text, any other dialog by its class. A message box is closed the way the row asks (Escape,
// Enter or its close button); the correction dialog gets a valid value.
class ModalCloser : public QObject {
public:
    enum class Way { Escape, Enter, CloseButton };
    explicit ModalCloser(Way way = Way::Escape) {
        connect(&m_timer, &QTimer::timeout, this, [this, way] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            const auto* box = qobject_cast<QMessageBox*>(dialog);
            seen << (box ? box->text() : QString::fromLatin1(dialog->metaObject()->className()));
            if (auto* correction = qobject_cast<TEditForm*>(dialog)) {
                correction->Edit1->setText(QStringLiteral("12,5"));
                correction->accept();
            } else if (box && way != Way::Escape) {
                way == Way::Enter ? QTest::keyClick(dialog, Qt::Key_Return) : void(dialog->close());
            } else {
                QTest::keyClick(dialog, Qt::Key_Escape);
            }
        });
        m_timer.start(20);
    }
    QStringList seen;

private:
    QTimer m_timer;
};

const QString kLimitRpm =
    QStringLiteral("       Hibás érték!\nA fordulatszám 600 - 15000 közé eshet!");
const QString kOpening = QStringLiteral(
    "       Hibás érték!\nA nyitási idő 0,2 - 2,0 közé eshet!\nVagy a '*' karakter megengedett!");
const QString kClosingTime =
    QStringLiteral("       Hibás érték!\nA zárási idő 0,5 - 10 közé eshet!");

// Types into whatever has the focus, then presses a key there.
void typeThen(const QString& text, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClicks(QApplication::focusWidget(), text);
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

} // namespace

class RealDialogsTest : public QObject {
    Q_OBJECT

private slots:
    // A click on a button with a bad value in the field: one message, then the button's own
    // question, once, whether the user's release lands on the message box or the whole click
    // on the button.
    void aClickThatBringsAMessageStillRunsItsCommandOnce_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("releaseOnTheBox");
        QTest::addColumn<QString>("question");
        QTest::newRow("Save: press, release on the box") << "SaveBtn" << true << "QFileDialog";
        QTest::newRow("Save: whole click") << "SaveBtn" << false << "QFileDialog";
        QTest::newRow("Kilépés") << "KilepBtn" << false << "Elmentette a változásokat?";
    }
    void aClickThatBringsAMessageStillRunsItsCommandOnce() {
        QFETCH(QString, button);
        QFETCH(bool, releaseOnTheBox);
        QFETCH(QString, question);
        Window window(profiles::zerwa8());
        SettingsPanel* panel = window.form->Panel1;
        ModalCloser closer;
        QTest::mouseClick(panel->Edit1, Qt::LeftButton);
        QTest::keyClicks(panel->Edit1, QStringLiteral("5"));
        auto* target = window.form->findChild<QPushButton*>(button);
        if (releaseOnTheBox)
            QTest::mousePress(target, Qt::LeftButton);
        else
            QTest::mouseClick(target, Qt::LeftButton);
        QTRY_COMPARE(closer.seen.size(), 2);
        QTest::qWait(200); // and nothing after it
        QCOMPARE(closer.seen, QStringList({kLimitRpm, question}));
        QCOMPARE(panel->Edit1->text(), QStringLiteral("3500"));
        QVERIFY(!window.fixture.exitCode());
    }

    // Another window taking the focus, and giving it back, is not leaving the field.
    void anotherWindowIsNotLeavingTheField() {
        Window window(profiles::zerwa8());
        ModalCloser closer;
        QTest::mouseClick(window.form->Panel1->Edit1, Qt::LeftButton);
        QTest::keyClicks(window.form->Panel1->Edit1, QStringLiteral("5"));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        window.fixture.activate();
        QTest::qWait(100);
        QVERIFY(closer.seen.isEmpty() && window.form->Panel1->Edit1->hasFocus());
        QCOMPARE(window.form->Panel1->Edit1->text(), QStringLiteral("5"));
    }

    // A bad setting left by a click on another cell: the message, then the click selects that
    // cell and checks the cell that was left.
    void aCellClickedFromABadSettingIsSelectedAfterTheMessage() {
        Window window(profiles::zerwa8());
        ModalCloser closer;
        test::clickCell(*window.form, {3, 2}); // 2.40 / 850
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("70"));
        QTest::mouseClick(window.form->Panel1->Edit1, Qt::LeftButton);
        QTest::keyClicks(window.form->Panel1->Edit1, QStringLiteral("99999"));
        test::clickCell(*window.form, {5, 7});
        QTRY_COMPARE(closer.seen, QStringList({kLimitRpm, QStringLiteral("zerwa::TEditForm")}));
        QCOMPARE(window.form->Panel1->Edit1->text(), QStringLiteral("3500"));
        QCOMPARE(window.form->table().cell(3, 2), QStringLiteral("12,5"));
        QCOMPARE(window.form->StringGrid1->currentCell(), CellPos({5, 7}));
        QCOMPARE(window.form->rememberedCell(), CellPos({5, 7}));
        // A click into a field that brought a message puts the cursor where it was clicked.
        QLineEdit* opening = window.form->Panel1->Edit2;
        opening->setText(QStringLiteral("1,5"));
        window.fixture.activate(); // back from the boxes
        QTest::mouseClick(window.form->Panel1->Edit1, Qt::LeftButton);
        QTest::keyClicks(window.form->Panel1->Edit1, QStringLiteral("1"));
        QTest::mouseClick(opening, Qt::LeftButton, {}, {opening->width() - 4, 10});
        QTRY_COMPARE(closer.seen.size(), 3);
        QVERIFY(opening->hasFocus() && !opening->hasSelectedText());
        QCOMPARE(opening->cursorPosition(), 3);
    }

    // The silent correction of the closing field is in place, and selected, before the typing
    // reaches it; so is every replacement, however its message box was closed.
    void tabThroughTheSettings_data() {
        QTest::addColumn<int>("way");
        QTest::addColumn<QStringList>("typed");    // before each Tab, then before each Shift+Tab
        QTest::addColumn<QStringList>("selected"); // on entering each field after the first
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("time mode")
            << 0 << QStringList({"5000", "1,5", "3"}) << QStringList({"", "0,5"})
            << QStringList({"5000", "1,5", "3"}) << QStringList();
        QTest::newRow("control mode")
            << 0 << QStringList({"5000", "*", "180"}) << QStringList({"", "50"})
            << QStringList({"5000", "*", "180"}) << QStringList();
        const QStringList bad = {"1", "9", "99", "", "0", "*", "5"};
        const QStringList selected = {"", "0,5", "10", "2", "3500"};
        const QStringList after = {"3500", "*", "50"};
        const QStringList messages = {kLimitRpm, kOpening, kClosingTime, kClosingTime, kLimitRpm};
        QTest::newRow("bad, Escape") << 0 << bad << selected << after << messages;
        QTest::newRow("bad, Enter") << 1 << bad << selected << after << messages;
        QTest::newRow("bad, close button") << 2 << bad << selected << after << messages;
    }
    void tabThroughTheSettings() {
        QFETCH(int, way);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, selected);
        QFETCH(QStringList, after);
        QFETCH(QStringList, messages);
        Window window(profiles::zerwa8());
        SettingsPanel* panel = window.form->Panel1;
        ModalCloser closer{ModalCloser::Way(way)};
        QTest::mouseClick(panel->Edit1, Qt::LeftButton);
        QStringList selectedOnEntry;
        for (int i = 0; i < typed.size(); ++i) {
            typeThen(typed.at(i), i < 3 ? Qt::Key_Tab : Qt::Key_Backtab,
                     i < 3 ? Qt::NoModifier : Qt::ShiftModifier);
            window.fixture.activate(); // back from a box, if there was one
            if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
                selectedOnEntry << (edit->selectedText() == edit->text() ? edit->text() : "?");
        }
        QCOMPARE(QStringList({panel->Edit1->text(), panel->Edit2->text(), panel->Edit3->text()}),
                 after);
        QCOMPARE(selectedOnEntry, selected);
        QCOMPARE(closer.seen, messages);
    }

    void ctrlReturnFillsTheMarkedCellsAfterTheCellCheck() {
        Window window(profiles::zerwa4());
        const CellRange range{{1, 2}, {2, 3}};
        window.mark(range);
        const int steps = window.steps();
        cellEditor()->selectAll();
        QTest::keyClicks(cellEditor(), "70");
        whenOpen<TEditForm>(window.form, [](TEditForm* dialog) {
            dialog->Edit1->setText("12,5");
            QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
        });
        press(Qt::Key_Return);
        QCOMPARE(window.texts(range), "12,5\t12,5\n12,5\t12,5\n");
        QCOMPARE(cellEditor()->text(), QStringLiteral("12,5"));
        QCOMPARE(window.steps(), steps + 1); // the typing, the correction and the fill
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), "1\t2\n1\t2\n");

        cellEditor()->selectAll();
        QTest::keyClicks(cellEditor(), "7");
        press(Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(window.texts(range), "7\t7\n7\t7\n");
        QCOMPARE(window.steps(), steps + 1);
        QTest::keyClicks(cellEditor(), "5"); // after the fill, typing is a step of its own
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), "7\t7\n7\t7\n");
    }

    void ctrlIInterpolatesAndAddsFromTheClipboard() {
        Window window(profiles::zerwa8());
        const CellRange range{{1, 1}, {3, 3}};
        window.form->mapModel->setCellText(3, 3, "7");
        window.mark(range);
        press(Qt::Key_I);
        QCOMPARE(window.texts(range), "1\t2\t3\n1\t3\t5\n1\t4\t7\n");
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), "1\t2\t3\n1\t2\t3\n1\t2\t7\n");

        QApplication::clipboard()->setText("0,5\t1\n");
        press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window.texts({{3, 3}, {4, 3}}), "7,5\t5\n");
    }

    // OK is offered only for an amount that may be used, and the line says why not; OK is one
    // step, Cancel changes nothing; the choice stays for the next time.
    void theRangeDialogPreviewsAndAppliesOnOK() {
        Window window(profiles::zerwa4());
        const CellRange range{{3, 1}, {4, 2}};
        window.mark(range);
        QStringList seen;
        whenOpen<RangeDialog>(window.form, [&seen](RangeDialog* dialog) {
            seen << dialog->windowTitle();
            QTest::keyClicks(dialog->amountEdit, "x");
            seen << dialog->previewLabel->text() << QString::number(dialog->okButton->isEnabled());
            dialog->amountEdit->clear();
            QTest::keyClicks(dialog->amountEdit, "60");
            seen << dialog->previewLabel->text();
            QTest::keyClick(dialog->amountEdit, Qt::Key_Return);
        });
        press(Qt::Key_M);
        QCOMPARE(seen, QStringList({"Kijelölés", "Az érték nem szám!", "0",
                                    "4 cella változik, 2 a határon"}));
        QCOMPARE(window.texts(range), "63\t63,5\n63\t63,5\n");
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), "3\t4\n3\t4\n");

        whenOpen<RangeDialog>(window.form, [&seen](RangeDialog* dialog) {
            seen << dialog->amountEdit->text();
            dialog->operationButtons.at(int(rangeedits::Operation::Smooth))->click();
            seen << dialog->previewLabel->text();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        press(Qt::Key_M);
        QCOMPARE(seen.mid(4), QStringList({"60", "4 cella változik, 0 a határon"}));
        QCOMPARE(window.texts(range), "3\t4\n3\t4\n");
    }

    // Spreadsheets take the HTML table first: headings and rpm labels as text, values as numbers.
    // F1 lists every key.
    void aCopyOffersAnHtmlTableAndF1ListsTheKeys() {
        Window window(profiles::zerwa4());
        window.form->mapModel->setCellText(1, 1, "12,5");
        window.form->mapModel->setCellText(2, 1, "1e3");
        press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QVERIFY(copied->text().startsWith("\t0.00\t2.40\t3.00\t3.60\n600\t12,5\t1e3\t3\t4\n"));
        const QString text = QStringLiteral("<td sdnum=\"1033;1033;@\" "
                                            "style=\"mso-number-format:'\\@'\">%1</td>");
        QVERIFY(copied->html().contains(text.arg("3.60") + "</tr>\n<tr>" + text.arg("600") +
                                        "<td sdval=\"12.5\" sdnum=\"1033;\">12,5</td>" +
                                        text.arg("1e3") +
                                        "<td sdval=\"3\" sdnum=\"1033;\">3</td>"));

        press(Qt::Key_F1, Qt::NoModifier);
        const KeyLegendWindow* legend = window.form->keyLegend();
        QVERIFY(legend && legend->isVisible());
        QCOMPARE(legend->windowTitle(), QStringLiteral("Billentyűk"));
        const auto keys = legend->keyTable->findItems("Ctrl", Qt::MatchStartsWith);
        QCOMPARE(keys.size(), 13);
    }
};

QTEST_MAIN(RealDialogsTest)
#include "realdialogs_test.moc"
