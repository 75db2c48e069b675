// SPDX-License-Identifier: GPL-3.0-or-later
// The editing keys in the window: Escape and Ctrl+Z in an open cell editor; copy wherever the
// focus is, and paste from the grid's open editor; a paste is one step of the history, moves
// neither the selection nor the remembered cell, checks no cell, and the chart follows it.
#include "core/model/variantprofiles.h"
#include "document/model/mapdocument.h"
#include "gui/chart/chartmirror.h"
#include "gui/chart/mapchartview.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/mainwindow/tablecommands.h"
#include "gui/support/formfixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QTest>

using namespace zerwa;
using zerwa::test::FormFixture;
using zerwa::test::yValues;

namespace {

void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(target, key, modifiers);
}

} // namespace

class EditingTest : public QObject {
    Q_OBJECT

private slots:
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

    void copyAndPasteWithTheKeysIsOneStepAndTheChartFollows() {
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
        QCOMPARE(yValues(form.chart()->series(3)).at(19), 12.5);

        press(editor, Qt::Key_Z);
        QCOMPARE(form.table().cell(3, 20), QStringLiteral("3"));
        QCOMPARE(yValues(form.chart()->series(3)).at(19), 3.0);
    }

    // The typing a paste interrupts is undone with it: never half-typed text, nor a cell the
    // check has not seen.
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
        QCOMPARE(yValues(form.chart()->series(2)).at(4), 2.0);
        QVERIFY(fixture.prompter().records.isEmpty());
    }

    void aRefusedPasteChangesNothingAndSaysWhy() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.startShown();
        QLineEdit* editor = fixture.editorOn({8, 15});
        const MapTable before = form.table();
        QApplication::clipboard()->setText(QStringLiteral("1\t2\n"));
        press(editor, Qt::Key_V);
        QCOMPARE(form.table(), before);
        QCOMPARE(fixture.prompter().messages().size(), 1);
        QVERIFY(fixture.prompter().messages().at(0).contains(QStringLiteral("1 sor × 1 oszlop")));
    }

    void noTypingPutsATabOrALineBreakIntoACell() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.startShown();
        QLineEdit* editor = fixture.editorOn({3, 3});
        editor->insert(QStringLiteral("1\t2\n3"));
        QCOMPARE(form.table().cell(3, 3), QStringLiteral("3"));
    }
};

QTEST_MAIN(EditingTest)
#include "editing_test.moc"
