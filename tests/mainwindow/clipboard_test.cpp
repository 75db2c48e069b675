// Copy and paste keys in the window: they reach the grid from its open editor, a paste is one
// step of the history, moves neither the selection nor the remembered cell, checks no cell,
// and the chart follows it and its undo.
#include "chart/chartmirror.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "model/mapdocument.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLineSeries>
#include <QTest>

using namespace zerwa;
using zerwa::test::FormFixture;
using zerwa::test::yValues;

namespace {

QLineEdit* editorOn(TForm1& form, CellPos cell) {
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        qFatal("window not active");
    form.StringGrid1->setFocus();
    form.StringGrid1->moveToCell(cell);
    if (!QTest::qWaitFor([&] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }))
        qFatal("no cell editor");
    return static_cast<QLineEdit*>(QApplication::focusWidget());
}

} // namespace

class ClipboardTest : public QObject {
    Q_OBJECT

private slots:
    void copyAndPasteWithTheKeysIsOneStepAndTheChartFollows() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(1, 2, QStringLiteral("12,5"));
        form.mapModel->setCellText(2, 3, QStringLiteral("05"));
        QLineEdit* editor = editorOn(form, {1, 2});
        form.StringGrid1->selectionModel()->select(
            QItemSelection(form.mapModel->index(2, 1), form.mapModel->index(3, 2)),
            QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12,5\t2\n1\t05\n"));

        editor = editorOn(form, {3, 20});
        const CellPos remembered = form.rememberedCell();
        const int steps = form.document().history().count();
        fixture.prompter().records.clear();
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QStringList({form.table().cell(3, 20), form.table().cell(4, 20),
                              form.table().cell(3, 21), form.table().cell(4, 21)}),
                 QStringList({"12,5", "2", "1", "05"}));
        QCOMPARE(form.StringGrid1->currentCell(), CellPos({3, 20}));
        QCOMPARE(form.rememberedCell(), remembered);
        QCOMPARE(fixture.prompter().records.size(), 0); // no cell check, no correction
        QCOMPARE(form.document().history().count(), steps + 1);
        QCOMPARE(yValues(form.chart()->series(3)).at(19), 12.5);

        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form.table().cell(3, 20), QStringLiteral("3"));
        QCOMPARE(yValues(form.chart()->series(3)).at(19), 3.0);
    }

    void aBlockPastedIntoTheEditorFillsCellsNotTheOneCell() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        QLineEdit* editor = editorOn(form, {2, 5});
        QTest::keyClicks(editor, QStringLiteral("7"));
        QApplication::clipboard()->setText(QStringLiteral("1,5\t2,5\r\n3,5\t4,5\r\n"));
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form.table().cell(2, 5), QStringLiteral("1,5"));
        QCOMPARE(form.table().cell(3, 6), QStringLiteral("4,5"));
        form.undo();                                            // the paste
        QCOMPARE(form.table().cell(2, 5), QStringLiteral("7")); // the typing, a step of its own
        form.undo();
        QCOMPARE(form.table().cell(2, 5), QStringLiteral("2"));
    }

    void aRefusedPasteChangesNothingAndSaysWhy() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        QLineEdit* editor = editorOn(form, {8, 15});
        const MapTable before = form.table();
        QApplication::clipboard()->setText(QStringLiteral("1\t2\n"));
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form.table(), before);
        QCOMPARE(fixture.prompter().messages().size(), 1);
        QVERIFY(fixture.prompter().messages().at(0).contains(QStringLiteral("1 sor × 1 oszlop")));
    }

    void noTypingPutsATabOrALineBreakIntoACell() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        QLineEdit* editor = editorOn(form, {3, 3});
        editor->insert(QStringLiteral("1\t2\n3"));
        QCOMPARE(form.table().cell(3, 3), QStringLiteral("3"));
    }
};

QTEST_MAIN(ClipboardTest)
#include "clipboard_test.moc"
