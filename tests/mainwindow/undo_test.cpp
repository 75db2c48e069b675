// Undo and redo in the window: the keys reach the map's history from the grid, its open
// editor and the settings fields, and the grid, the settings and the chart show the result.
#include "chart/chartmirror.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/tablecommands.h"
#include "model/mapdocument.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QTest>

using namespace zerwa;
using zerwa::test::FormFixture;
using zerwa::test::yValues;

namespace {

TForm1& shown(FormFixture& fixture) {
    TForm1& form = fixture.start();
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        qFatal("window not active");
    return form;
}

void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(target, key, modifiers);
}

QLineEdit* editorOn(TForm1& form, CellPos cell) {
    form.StringGrid1->setFocus();
    form.StringGrid1->moveToCell(cell);
    if (!QTest::qWaitFor([&] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }))
        qFatal("no cell editor");
    return static_cast<QLineEdit*>(QApplication::focusWidget());
}

} // namespace

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void ctrlZUndoesAPopupStepAndTheChartFollows() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = shown(fixture);
        QLineSeries* line = form.chart()->series(2);
        const QList<qreal> before = yValues(line);
        form.tableCommands()->PopupMenu1->findChild<QAction*>("N41")->trigger();
        QCOMPARE(form.table().cell(2, 7), QStringLiteral("6"));
        press(form.StringGrid1, Qt::Key_Z);
        QCOMPARE(form.table().cell(2, 7), QStringLiteral("2"));
        QCOMPARE(yValues(line), before);
        press(form.StringGrid1, Qt::Key_Y);
        QCOMPARE(form.table().cell(2, 7), QStringLiteral("6"));
        press(form.StringGrid1, Qt::Key_Z);
        press(form.StringGrid1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(yValues(line), QList<qreal>(15, 6.0));
    }

    void inAnOpenEditorCtrlZFirstRevertsTheTypingThenEarlierSteps() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = shown(fixture);
        form.tableCommands()->PopupMenu1->findChild<QAction*>("N11")->trigger(); // column 2: 3
        QLineEdit* editor = editorOn(form, {2, 1});
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("33"));
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("33"));
        press(editor, Qt::Key_Z);
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("3"));
        QCOMPARE(editor->text(), QStringLiteral("3"));
        press(editor, Qt::Key_Z);
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("2"));
        QCOMPARE(editor->text(), QStringLiteral("2"));
    }

    void leavingTheGridEndsTheTypingStep() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = shown(fixture);
        QLineEdit* editor = editorOn(form, {2, 1});
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("4"));
        form.Panel1->Edit1->setFocus();
        QTRY_VERIFY(form.Panel1->Edit1->hasFocus());
        editor = editorOn(form, {2, 1});
        editor->end(false);
        QTest::keyClicks(editor, QStringLiteral("5"));
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("45"));
        form.undo();
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("4"));
    }

    void escapeGivesBackTheTextTheCellHeldWhenEntered() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = shown(fixture);
        QLineEdit* editor = editorOn(form, {3, 2});
        QTest::keyClicks(editor, QStringLiteral("9"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(form.table().cell(3, 2), QStringLiteral("3"));
        QCOMPARE(editor->text(), QStringLiteral("3"));
        QVERIFY(!form.document().history().canUndo());
    }

    void undoOfASettingsChangeShowsInItsControl() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = shown(fixture);
        SettingsPanel* panel = form.Panel1;
        panel->ComboBox3->setFocus();
        QTest::keyClick(panel->ComboBox3, Qt::Key_Down); // a pick-only list chooses with the keys
        QCOMPARE(panel->ComboBox3->currentText(), QStringLiteral("Lefutó"));
        panel->Edit1->setFocus();
        QTest::keyClicks(panel->Edit1, QStringLiteral("8000"));
        press(panel->Edit1, Qt::Key_Z);
        QCOMPARE(panel->Edit1->text(), QString());
        press(panel->Edit1, Qt::Key_Z);
        QCOMPARE(panel->ComboBox3->currentIndex(), -1);
        press(panel->Edit1, Qt::Key_Y);
        QCOMPARE(panel->ComboBox3->currentText(), QStringLiteral("Lefutó"));
    }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
