// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chartmirror.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/mainwindow/tablecommands.h"
#include "gui/support/formfixture.h"

#include <QAction>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>

using namespace zerwa;
using test::FormFixture;
using Kind = test::ScriptedPrompter::Kind;

namespace {

const QString kDataRange = QStringLiteral("Az érték 0,5 - 63,5 közötti szám!");

// The remembered cell moves to `cell` without a check, as if the user had just selected it.
void selectSilently(TForm1& form, CellPos cell, const QString& text) {
    form.StringGrid1->placeCellSilently(cell);
    form.setRememberedCell(cell);
    form.mapModel->setCellText(cell.column, cell.row, text);
}

QStringList column(const TForm1& form, int c, int from, int to) {
    QStringList texts;
    for (int r = from; r <= to; ++r)
        texts << form.table().cell(c, r);
    return texts;
}

// Each question of the correction dialog: its range text and the text it started from.
QStringList corrections(const test::ScriptedPrompter& prompter) {
    QStringList asked;
    for (const auto& record : prompter.records)
        if (record.kind == Kind::Correction)
            asked << record.text + " | " + record.value;
    return asked;
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    // Leaving a cell checks it; the correction dialog starts again from the cell's text until
    // the value is in range, which is then written as typed and drawn.
    void leavingACellChecksIt() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        selectSilently(form, {2, 3}, "");
        fixture.prompter().corrections = {"70", "12,5"};
        form.StringGrid1->moveToCell({2, 4});
        QCOMPARE(corrections(fixture.prompter()),
                 QStringList({kDataRange + " | ", kDataRange + " | "}));
        QCOMPARE(form.table().cell(2, 3), QStringLiteral("12,5"));
        QCOMPARE(form.chart()->series(2)->at(2).y(), 12.5);
        QCOMPARE(form.rememberedCell(), (CellPos{2, 4}));
        form.mapModel->setCellText(2, 4, "05"); // valid: left as typed
        form.StringGrid1->moveToCell({2, 5});
        QCOMPARE(form.table().cell(2, 4), QStringLiteral("05"));
        QCOMPARE(form.chart()->series(2)->at(3).y(), 5.0);
        form.mapModel->setCellText(3, 20, "szöveg"); // a bad cell elsewhere holds nothing back
        form.StringGrid1->moveToCell({2, 6});
        QCOMPARE(form.StringGrid1->currentCell(), (CellPos{2, 6}));
        QCOMPARE(fixture.prompter().errors(), QStringList({"'szöveg' nem érvényes szám."}));
    }

    void headingsRetitleAndThePopupIsOffOverTheRpmColumn() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.StringGrid1->openPopupAtCurrentCell());
        QTRY_VERIFY(form.tableCommands()->PopupMenu1->isVisible());
        form.tableCommands()->PopupMenu1->close();
        form.EditBtnClick();
        selectSilently(form, {3, 0}, "4.20");
        form.mapModel->setCellText(0, 1, "rpm");
        form.StringGrid1->moveToCell({0, 0});
        QCOMPARE(form.chart()->series(3)->name(), QStringLiteral("4.20"));
        QVERIFY(!form.StringGrid1->openPopupAtCurrentCell());
        form.StringGrid1->moveToCell({1, 0}); // the corner relabels the rpm axis too
        QCOMPARE(form.chart()->pointLabel(1, 0), QStringLiteral("rpm"));
        QVERIFY(form.StringGrid1->autoPopup());
        QVERIFY(fixture.prompter().records.isEmpty());
    }

    // The ten popup steps, each triggered before any cell is selected: caption, component
    // name, step and bound. Cells holding 10, 63, -3 (plus) or 10, 1, 70 (minus).
    void popupSteps() {
        struct Step {
            const char* name;
            const char* caption;
            QStringList after;
            double chart; // the first point afterwards
        };
        // clang-format off
        const Step steps[] = {
            {"N051", "+ 0,5", {"10,5", "63,5", "-2,5"}, 10.5}, {"N052", "- 0,5", {"9,5", "0,5", "69,5"}, 9.5},
            {"N11", "+ 1", {"11", "63,5", "-2"}, 11},           {"N12", "- 1", {"9", "0,5", "69"}, 9},
            {"N21", "+ 2", {"12", "63,5", "-1"}, 12},           {"N22", "- 2", {"8", "0,5", "68"}, 8},
            {"N41", "+ 4", {"14", "63,5", "1"}, 14},            {"N42", "- 4", {"6", "0,5", "66"}, 6},
            {"N81", "+ 8", {"18", "63,5", "5"}, 18},            {"N82", "- 8", {"2", "0,5", "62"}, 2}};
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
                QCOMPARE(form.chart()->series(c)->at(0).y(), step.chart);
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
        form.refreshChartTitles();
        form.refreshChartRpmLabels();
        form.refreshChartValues();
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
        QCOMPARE(form.chart()->series(1)->name(), axisEdit ? "0.00" : "9.99");
        QCOMPARE(form.chart()->pointLabel(1, 1), QStringLiteral("999")); // the labels stay
        QCOMPARE(form.chart()->series(5)->at(4).y(), yes ? 5.0 : 40.0);
        if (!yes)
            QCOMPARE(form.table(), table);
        for (int point = 0; yes && point < 15 * 8; ++point) // every line flat at its number
            QCOMPARE(form.chart()->series(point / 15 + 1)->at(point % 15).y(), point / 15 + 1.0);
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
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
