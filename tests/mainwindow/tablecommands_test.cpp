#include "chart/chartmirror.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/tablecommands.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"
#include "support/profilerows.h"

#include <QAction>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace zerwa;
using zerwa::test::addProfileRows;
using zerwa::test::FormFixture;
using zerwa::test::yValues;

namespace {

QStringList columnTexts(const TForm1& form, int column) {
    QStringList texts;
    for (int r = 1; r < form.table().rows(); ++r)
        texts << form.table().cell(column, r);
    return texts;
}

QAction* item(TForm1& form, const char* name) {
    return form.tableCommands()->PopupMenu1->findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace

class TableCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void popupMenuItems_data() { addProfileRows(); }
    void popupMenuItems() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        TableCommands* commands = form.tableCommands();
        QCOMPARE(form.StringGrid1->popupMenu(), commands->PopupMenu1);
        QStringList top;
        for (QAction* action : commands->PopupMenu1->actions())
            top << action->text();
        QCOMPARE(top, profile->hasSlopeFill ? QStringList({"Plusz", "Minusz", "Függvény"})
                                            : QStringList({"Plusz", "Minusz"}));
        QCOMPARE(commands->Plussz1->objectName(), QStringLiteral("Plussz1"));
        QCOMPARE(commands->Minusz1->objectName(), QStringLiteral("Minusz1"));
        QStringList captions, names;
        for (QMenu* menu : {commands->Plussz1, commands->Minusz1}) {
            for (QAction* action : menu->actions()) {
                captions << action->text();
                names << action->objectName();
            }
        }
        QCOMPARE(captions, QStringList({"+ 0,5", "+ 1", "+ 2", "+ 4", "+ 8", "- 0,5", "- 1", "- 2",
                                        "- 4", "- 8"}));
        QCOMPARE(names, QStringList({"N051", "N11", "N21", "N41", "N81", "N052", "N12", "N22",
                                     "N42", "N82"}));
        QCOMPARE(bool(item(form, "Fuggveny")), profile->hasSlopeFill);
    }

    void stepsActOnTheRememberedColumnBeforeAnySelection_data() { addProfileRows(); }
    void stepsActOnTheRememberedColumnBeforeAnySelection() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        const int column = profile->initialRememberedCell.column;
        item(form, "N41")->trigger();
        const QString raised = QString::number(column + 4);
        QCOMPARE(columnTexts(form, column), QStringList(QList<QString>(profile->rpmRows, raised)));
        QCOMPARE(yValues(form.chart()->series(column)),
                 QList<qreal>(profile->rpmRows, column + 4.0));
        const int other = column == 1 ? 2 : 1;
        QCOMPARE(form.table().cell(other, 1), QString::number(other));
    }

    void stepsChangeEveryRowWhateverIsSelected() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.StringGrid1->moveToCell({3, 5});
        form.StringGrid1->selectionModel()->select(
            QItemSelection(form.mapModel->index(5, 1), form.mapModel->index(7, 2)),
            QItemSelectionModel::ClearAndSelect);
        item(form, "N052")->trigger();
        QCOMPARE(columnTexts(form, 3), QStringList(QList<QString>(30, "2,5")));
        QCOMPARE(form.table().cell(1, 6), QStringLiteral("1"));
    }

    void plusAndMinusEdges() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(2, 1, "1");
        form.mapModel->setCellText(2, 2, "63");
        form.mapModel->setCellText(2, 3, "63,5");
        form.mapModel->setCellText(2, 4, "-3");
        item(form, "N051")->trigger();
        QCOMPARE(columnTexts(form, 2).mid(0, 5),
                 QStringList({"1,5", "63,5", "63,5", "-2,5", "2,5"}));
        form.mapModel->setCellText(2, 1, "3");
        form.mapModel->setCellText(2, 2, "8,5");
        form.mapModel->setCellText(2, 3, "9");
        form.mapModel->setCellText(2, 4, "70");
        item(form, "N82")->trigger();
        QCOMPARE(columnTexts(form, 2).mid(0, 4), QStringList({"0,5", "0,5", "1", "62"}));
        QCOMPARE(form.chart()->series(2)->at(3).y(), 62.0);
    }

    void aTextCellStopsTheStepAndLeavesTheChart() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(2, 4, QStringLiteral("szöveg"));
        const QList<qreal> before = yValues(form.chart()->series(2));
        item(form, "N11")->trigger();
        QCOMPARE(columnTexts(form, 2).mid(0, 5), QStringList({"3", "3", "3", "szöveg", "2"}));
        QCOMPARE(yValues(form.chart()->series(2)), before);
        QCOMPARE(fixture.prompter().errors(), QStringList({"'szöveg' nem érvényes szám."}));
    }

    void thePopupFollowsTheRememberedColumn() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QMenu* menu = form.tableCommands()->PopupMenu1;
        QVERIFY(form.StringGrid1->openPopupAtCurrentCell());
        QTRY_VERIFY(menu->isVisible());
        menu->close();

        form.EditBtnClick();
        form.StringGrid1->moveToCell({0, 3});
        QVERIFY(!form.StringGrid1->openPopupAtCurrentCell());
        QTest::keyClick(form.StringGrid1, Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(!menu->isVisible());

        form.StringGrid1->moveToCell({2, 3});
        form.StringGrid1->setFocus();
        QTest::keyClick(form.StringGrid1, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }

    void clearAnsweredNoChangesNothing() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(3, 3, QStringLiteral("40"));
        form.refreshChartValues();
        form.Panel1->setSettings({"4", "3500", "1", "2", "Lefutó", "Felfutó"});
        form.LetoltBtn->setEnabled(true);
        const MapTable table = form.table();
        const QList<qreal> line = yValues(form.chart()->series(3));
        fixture.prompter().answerYesNo(false);
        QTest::mouseClick(form.TorolBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().texts(test::ScriptedPrompter::Kind::YesNo),
                 QStringList({"Biztosan törölni szeretnéd a bejegyzéseket?"}));
        QCOMPARE(form.table(), table);
        QCOMPARE(form.Panel1->settings().cylinders, QStringLiteral("4"));
        QCOMPARE(yValues(form.chart()->series(3)), line);
        QVERIFY(form.LetoltBtn->isEnabled());
    }

    void clearInNormalModeKeepsTheAxes() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(0, 2, QStringLiteral("999"));
        form.mapModel->setCellText(1, 0, QStringLiteral("9.99"));
        form.mapModel->setCellText(5, 5, QStringLiteral("40"));
        form.refreshChartTitles();
        form.refreshChartRpmLabels();
        form.refreshChartValues();
        form.LetoltBtn->setEnabled(true);
        form.Panel1->setSettings({"4", "3500", "1", "2", "Lefutó", "Felfutó"});
        fixture.prompter().answerYesNo(true);
        form.tableCommands()->TorolBtnClick();
        QCOMPARE(form.table().cell(0, 2), QStringLiteral("999"));
        QCOMPARE(form.table().cell(1, 0), QStringLiteral("9.99"));
        QCOMPARE(form.table().cell(5, 5), QStringLiteral("5"));
        QCOMPARE(form.chart()->series(1)->name(), QStringLiteral("9.99"));
        QCOMPARE(form.chart()->pointLabel(1, 1), QStringLiteral("999"));
        QCOMPARE(form.Panel1->settings(), SettingsBlock());
        QVERIFY(!form.LetoltBtn->isEnabled());
        for (int c = 1; c <= 8; ++c)
            QCOMPARE(yValues(form.chart()->series(c)), QList<qreal>(15, c));
    }

    void clearInAxisEditModeRestoresTheAxesButNotTheLabels() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        form.EditBtnClick();
        form.mapModel->setCellText(0, 2, QStringLiteral("999"));
        form.mapModel->setCellText(1, 0, QStringLiteral("9.99"));
        form.refreshChartTitles();
        form.refreshChartRpmLabels();
        fixture.prompter().answerYesNo(true);
        form.tableCommands()->TorolBtnClick();
        QCOMPARE(form.table().cell(0, 2), QStringLiteral("800"));
        QCOMPARE(form.table().cell(1, 0), QStringLiteral("0.00"));
        QCOMPARE(form.chart()->series(1)->name(), QStringLiteral("0.00"));
        QCOMPARE(form.chart()->pointLabel(1, 1), QStringLiteral("999")); // labels keep their text
        for (int c = 1; c <= 4; ++c)
            QCOMPARE(yValues(form.chart()->series(c)), QList<qreal>(60, c));
    }

    void slopeFillRunsFromTheRememberedCell() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(3, 10, QStringLiteral("20"));
        form.StringGrid1->moveToCell({3, 10});
        fixture.prompter().answerSlopeFill(SlopeFillEntries{"1,5", "4"});
        item(form, "Fuggveny")->trigger();
        QCOMPARE(columnTexts(form, 3).mid(9, 6),
                 QStringList({"20", "21,5", "23", "24,5", "26", "3"}));
        QCOMPARE(form.chart()->series(3)->at(13).y(), 26.0);

        // Cancel changes nothing.
        const MapTable before = form.table();
        fixture.prompter().answerSlopeFill(std::nullopt);
        form.tableCommands()->FuggvenyClick();
        QCOMPARE(form.table(), before);

        // A start cell that is not a number is reported; nothing is written.
        form.mapModel->setCellText(3, 10, QStringLiteral("x"));
        fixture.prompter().answerSlopeFill(SlopeFillEntries{"1", "3"});
        form.tableCommands()->FuggvenyClick();
        QCOMPARE(form.table().cell(3, 11), QStringLiteral("21,5"));
        QCOMPARE(fixture.prompter().errors(), QStringList({"'x' nem érvényes szám."}));
        QVERIFY(fixture.prompter().unexpected().isEmpty());
    }

    void slopeFillAtTheLastRowOnlyRefreshes() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        form.StringGrid1->moveToCell({2, 60});
        form.mapModel->setCellText(2, 30, QStringLiteral("44")); // seen only by a refresh
        fixture.prompter().answerSlopeFill(SlopeFillEntries{"1", "5"});
        form.tableCommands()->FuggvenyClick();
        QCOMPARE(form.table().cell(2, 60), QStringLiteral("2"));
        QCOMPARE(form.chart()->series(2)->at(29).y(), 44.0);
    }
};

QTEST_MAIN(TableCommandsTest)
#include "tablecommands_test.moc"
