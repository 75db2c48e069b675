// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on the map and the editing keys in the window, with scripted answers: the
// popup and its steps, the clear, the slope fill; Escape and Ctrl+Z in an open cell
// editor; copy wherever the focus is, and paste from the grid's open editor.
#include "document/model/mapdocument.h"
#include "gui/chart/chartmirror.h"
#include "gui/chart/mapchartview.h"
#include "gui/mainwindow/tablecommands.h"
#include "gui/support/formfixture.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineSeries>
#include <QMenu>

using namespace zerwa;
using test::FormFixture;
using Kind = test::ScriptedPrompter::Kind;

namespace {

QStringList column(const TForm1& form, int c, int from, int to) {
    QStringList texts;
    for (int r = from; r <= to; ++r)
        texts << form.table().cell(c, r);
    return texts;
}

void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(target, key, modifiers);
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    // The popup opens over a cell, but not over the rpm column in axis-edit mode. Leaving a
    // heading retitles its line; leaving the corner relabels the rpm axis.
    void thePopupIsOffOverTheRpmColumn() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.StringGrid1->openPopupAtCurrentCell());
        QTRY_VERIFY(form.tableCommands()->PopupMenu1->isVisible());
        form.tableCommands()->PopupMenu1->close();
        form.EditBtnClick();
        form.mapModel->setCellText(3, 0, "4.20");
        form.mapModel->setCellText(0, 1, "rpm");
        form.StringGrid1->moveToCell({3, 0});
        form.StringGrid1->moveToCell({0, 0});
        QVERIFY(!form.StringGrid1->openPopupAtCurrentCell());
        form.StringGrid1->moveToCell({1, 0});
        QVERIFY(form.StringGrid1->autoPopup());
        QCOMPARE(QStringList({form.chart()->series(3)->name(), form.chart()->pointLabel(1, 0)}),
                 QStringList({"4.20", "rpm"}));
    }

    // The ten popup steps, each triggered before any cell is selected: caption, component
    // name, step and bound. Cells holding 10, 63, -3 (plus) or 10, 1, 70 (minus).
    void popupSteps() {
        struct Step {
            const char* name;
            const char* caption;
            QStringList after;
        };
        // clang-format off
        const Step steps[] = {
            {"N051", "+ 0,5", {"10,5", "63,5", "-2,5"}}, {"N052", "- 0,5", {"9,5", "0,5", "69,5"}},
            {"N11", "+ 1", {"11", "63,5", "-2"}},         {"N12", "- 1", {"9", "0,5", "69"}},
            {"N21", "+ 2", {"12", "63,5", "-1"}},         {"N22", "- 2", {"8", "0,5", "68"}},
            {"N41", "+ 4", {"14", "63,5", "1"}},          {"N42", "- 4", {"6", "0,5", "66"}},
            {"N81", "+ 8", {"18", "63,5", "5"}},          {"N82", "- 8", {"2", "0,5", "62"}}};
        // clang-format on
        for (const test::ProgramFacts& f : test::programFacts()) {
            for (const Step& step : steps) {
                FormFixture fixture(f.profile());
                TForm1& form = fixture.start();
                const bool plus = step.caption[0] == '+';
                QMenu* menu = plus ? form.tableCommands()->Plussz1 : form.tableCommands()->Minusz1;
                QCOMPARE(QStringList({menu->title(), menu->objectName()}),
                         plus ? QStringList({"Plusz", "Plussz1"})
                              : QStringList({"Minusz", "Minusz1"}));
                QAction* item = menu->findChild<QAction*>(step.name);
                QVERIFY(item && menu->actions().contains(item));
                QCOMPARE(item->text(), step.caption);
                const int c = f.rememberedCell.column;
                const QStringList before =
                    plus ? QStringList{"10", "63", "-3"} : QStringList{"10", "1", "70"};
                for (int r = 1; r <= 3; ++r)
                    form.mapModel->setCellText(c, r, before.at(r - 1));
                item->trigger();
                QCOMPARE(column(form, c, 1, 3), step.after);
                QVERIFY(form.table().cell(c, f.rpmRows) != QString::number(c)); // every row
                QCOMPARE(form.table().cell(c % 2 + 1, 1), QString::number(c % 2 + 1));
            }
        }
    }

    void clear_data() {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("axisEdit");
        QTest::newRow("no") << false << false;
        QTest::newRow("yes") << true << false;
        QTest::newRow("yes in axis-edit mode") << true << true;
    }
    void clear() {
        QFETCH(bool, yes);
        QFETCH(bool, axisEdit);
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        if (axisEdit)
            form.EditBtnClick();
        form.mapModel->setCellText(0, 2, "999");
        form.mapModel->setCellText(1, 0, "9.99");
        form.mapModel->setCellText(5, 5, "40");
        form.Panel1->setSettings({"4", "3500", "1", "2", "Lefutó", "Felfutó"});
        form.LetoltBtn->setEnabled(true);
        const MapTable table = form.table();
        fixture.prompter().yesNo = {yes};
        QTest::mouseClick(form.TorolBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().texts(Kind::YesNo),
                 QStringList({"Biztosan törölni szeretnéd a bejegyzéseket?"}));
        QCOMPARE(form.LetoltBtn->isEnabled(), !yes);
        QCOMPARE(form.Panel1->settings().cylinders, yes ? "" : "4");
        QCOMPARE(form.table().cell(0, 2), axisEdit ? "850" : "999");
        QCOMPARE(form.table().cell(1, 0), axisEdit ? "0.00" : "9.99");
        QCOMPARE(form.table().cell(5, 5), yes ? "5" : "40");
        if (!yes)
            QCOMPARE(form.table(), table);
    }

    void slopeFillRunsBelowTheRememberedCell() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(3, 10, "20");
        form.StringGrid1->moveToCell({3, 10});
        fixture.prompter().slopeFills = {SlopeFillEntries{"1,5", "4"}, std::nullopt};
        form.tableCommands()->Fuggveny->trigger();
        QCOMPARE(column(form, 3, 10, 15), QStringList({"20", "21,5", "23", "24,5", "26", "3"}));
        QCOMPARE(form.chart()->series(3)->at(13).y(), 26.0);
        const MapTable before = form.table();
        form.tableCommands()->FuggvenyClick(); // cancelled
        QCOMPARE(form.table(), before);
        QVERIFY(fixture.prompter().unexpected.isEmpty());
    }

    // In an open editor Escape gives back the text the cell held when entered, and Ctrl+Z first
    // reverts the typing, then earlier steps. Leaving the grid ends a typing step.
    void keysInAnOpenCellEditor() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.startShown();
        form.tableCommands()->PopupMenu1->findChild<QAction*>("N11")->trigger(); // column 2: 3
        QLineEdit* editor = fixture.editorOn({2, 1});
        QTest::keyClicks(editor, QStringLiteral("9"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(QStringList({form.table().cell(2, 1), editor->text()}), QStringList({"3", "3"}));
        QCOMPARE(form.document().history().count(), 1);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("33"));
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("33"));
        press(editor, Qt::Key_Z);
        QCOMPARE(QStringList({form.table().cell(2, 1), editor->text()}), QStringList({"3", "3"}));
        press(editor, Qt::Key_Z);
        QCOMPARE(QStringList({form.table().cell(2, 1), editor->text()}), QStringList({"2", "2"}));

        QTest::keyClicks(editor, QStringLiteral("4"));
        form.Panel1->Edit1->setFocus();
        QTRY_VERIFY(form.Panel1->Edit1->hasFocus());
        editor = fixture.editorOn({2, 1});
        editor->end(false);
        QTest::keyClicks(editor, QStringLiteral("5"));
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("245"));
        form.undo();
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("24"));
    }

    // A paste is one step of the history, moves neither the selection nor the remembered cell
    // and checks no cell.
    void copyAndPasteWithTheKeysIsOneStep() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.startShown();
        form.mapModel->setCellText(1, 2, QStringLiteral("12,5"));
        form.mapModel->setCellText(2, 3, QStringLiteral("05"));
        QLineEdit* editor = fixture.editorOn({1, 2});
        form.StringGrid1->selectionModel()->select(
            QItemSelection(form.mapModel->index(2, 1), form.mapModel->index(3, 2)),
            QItemSelectionModel::ClearAndSelect);
        // Ctrl+C copies the grid's selection wherever the focus is, except in a settings text
        // field; Ctrl+Shift+C copies the whole map wherever the focus is.
        const QString selection = QStringLiteral("12,5\t2\n1\t05\n");
        const QString wholeMap = QStringLiteral("\t0.00\t2.40\t3.00\t3.60\n");
        form.Panel1->Edit1->setText(QStringLiteral("3500"));
        const std::tuple<QWidget*, Qt::KeyboardModifiers, QString> cases[] = {
            {editor, Qt::ControlModifier, selection},
            {form.Panel1->Edit1, Qt::ControlModifier, QStringLiteral("3500")},
            {form.Panel1->Edit1, Qt::ControlModifier | Qt::ShiftModifier, wholeMap},
            {form.Chart1, Qt::ControlModifier | Qt::ShiftModifier, wholeMap},
            {form.Panel1->ComboBox1, Qt::ControlModifier, selection},
            {form.LoadBtn, Qt::ControlModifier, selection}};
        for (const auto& [widget, modifiers, copied] : cases) {
            QApplication::clipboard()->clear();
            widget->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(widget->hasFocus());
            press(widget, Qt::Key_C, modifiers);
            QCOMPARE(QApplication::clipboard()->text().left(copied.size()), copied);
        }

        editor = fixture.editorOn({3, 20});
        const CellPos remembered = form.rememberedCell();
        const int steps = form.document().history().count();
        fixture.prompter().records.clear();
        press(editor, Qt::Key_V);
        QCOMPARE(QStringList({form.table().cell(3, 20), form.table().cell(4, 20),
                              form.table().cell(3, 21), form.table().cell(4, 21)}),
                 QStringList({"12,5", "2", "1", "05"}));
        QCOMPARE(form.StringGrid1->currentCell(), CellPos({3, 20}));
        QCOMPARE(form.rememberedCell(), remembered);
        QCOMPARE(fixture.prompter().records.size(), 0); // no cell check, no correction
        QCOMPARE(form.document().history().count(), steps + 1);
        QCOMPARE(form.chart()->series(3)->at(19).y(), 12.5);
        press(editor, Qt::Key_Z);
        QCOMPARE(form.table().cell(3, 20), QStringLiteral("3"));
    }

    // The typing a paste interrupts is undone with it: never half-typed text, nor a cell the
    // check has not seen. A block larger than its room is refused, saying why; no typing puts
    // a tab or a line break into a cell.
    void aBlockPastedIntoTheEditorFillsCellsNotTheOneCell() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.startShown();
        QLineEdit* editor = fixture.editorOn({2, 5});
        editor->end(false);
        QTest::keyClicks(editor, QStringLiteral("abc"));
        QApplication::clipboard()->setText(QStringLiteral("1,5\t2,5\r\n3,5\t4,5\r\n"));
        press(editor, Qt::Key_V);
        QCOMPARE(form.table().cell(2, 5), QStringLiteral("1,5"));
        QCOMPARE(form.table().cell(3, 6), QStringLiteral("4,5"));
        fixture.editorOn({4, 4});
        press(QApplication::focusWidget(), Qt::Key_Z);
        QCOMPARE(QStringList({form.table().cell(2, 5), form.table().cell(3, 6)}),
                 QStringList({"2", "3"}));
        QVERIFY(fixture.prompter().records.isEmpty());

        const MapTable before = form.table();
        QApplication::clipboard()->setText(QStringLiteral("1\t2\n"));
        press(fixture.editorOn({8, 15}), Qt::Key_V);
        QCOMPARE(form.table(), before);
        QCOMPARE(fixture.prompter().messages().size(), 1);
        QVERIFY(fixture.prompter().messages().at(0).contains(QStringLiteral("1 sor × 1 oszlop")));
        fixture.editorOn({3, 3})->insert(QStringLiteral("1\t2\n3"));
        QCOMPARE(form.table().cell(3, 3), QStringLiteral("3"));
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
