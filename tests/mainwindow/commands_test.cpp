#include "chart/chartmirror.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/tablecommands.h"
#include "support/formfixture.h"
#include "support/programrows.h"

#include <QAction>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>

using namespace zerwa;
using test::FormFixture;
using test::ProgramFacts;
using Kind = test::ScriptedPrompter::Kind;

Q_DECLARE_METATYPE(zerwa::CellPos)

namespace {

const QString kDataRange = QStringLiteral("Az érték 0,5 - 63,5 közötti szám!");

// The remembered cell moves to `cell` without a check, as if the user had just selected it.
void selectSilently(TForm1& form, CellPos cell) {
    form.StringGrid1->placeCellSilently(cell);
    form.setRememberedCell(cell);
}

QStringList column(const TForm1& form, int c, int from, int to) {
    QStringList texts;
    for (int r = from; r <= to; ++r)
        texts << form.table().cell(c, r);
    return texts;
}

QList<qreal> yValues(const QLineSeries* series) {
    QList<qreal> values;
    for (const QPointF& point : series->points())
        values << point.y();
    return values;
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    // Leaving a cell checks it; a bad value is corrected through the dialog, which starts again
    // from the cell's text until the value is in range.
    void leavingACellChecksIt_data() {
        QTest::addColumn<const ProgramFacts*>("program");
        QTest::addColumn<CellPos>("cell");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("typed"); // into the correction dialog, round by round
        QTest::addColumn<QString>("after");
        const ProgramFacts* p4 = &test::zerwa4();
        const ProgramFacts* p60 = &test::zerwa4_60();
        QTest::newRow("emptied") << p4 << CellPos{2, 3} << "" << QStringList{"70", "12,5"}
                                 << "12,5";
        QTest::newRow("valid, as typed") << p4 << CellPos{1, 2} << "05" << QStringList() << "05";
        QTest::newRow("rpm") << p60 << CellPos{0, 60} << "12001" << QStringList{"599", "12000"}
                             << "12000";
    }
    void leavingACellChecksIt() {
        QFETCH(const ProgramFacts*, program);
        QFETCH(CellPos, cell);
        QFETCH(QString, text);
        QFETCH(QStringList, typed);
        QFETCH(QString, after);
        FormFixture fixture(program->profile());
        TForm1& form = fixture.start();
        form.EditBtnClick();
        selectSilently(form, cell);
        form.mapModel->setCellText(cell.column, cell.row, text);
        for (const QString& answer : typed)
            fixture.prompter().corrections.push_back(answer);
        form.StringGrid1->moveToCell({1, 1});

        const QString range =
            cell.column == 0
                ? QStringLiteral("Az érték 600 - %1 között lehet!").arg(program->rpmCeiling)
                : kDataRange;
        QStringList expected;
        for (int i = 0; i < typed.size(); ++i)
            expected << range + " | " + text;
        QStringList asked;
        for (const auto& record : fixture.prompter().records)
            asked << record.text + " | " + record.value;
        QCOMPARE(asked, expected);
        QCOMPARE(form.table().cell(cell.column, cell.row), after);
        QCOMPARE(form.rememberedCell(), (CellPos{1, 1}));
        if (cell.column == 0) // leaving an rpm cell relabels the rpm axis
            QCOMPARE(form.chart()->pointLabel(1, cell.row - 1), after);
        else
            QCOMPARE(form.chart()->series(cell.column)->at(cell.row - 1).y(),
                     after.replace(',', '.').toDouble());
    }

    void theFirstMoveChecksTheStartCell_data() { test::addProgramRows(); }
    void theFirstMoveChecksTheStartCell() {
        QFETCH(const ProgramFacts*, program);
        FormFixture fixture(program->profile());
        TForm1& form = fixture.start();
        const CellPos start = program->rememberedCell;
        form.mapModel->setCellText(start.column, start.row, "x");
        fixture.prompter().corrections.push_back("7");
        form.StringGrid1->moveToCell({3, 2});
        QCOMPARE(fixture.prompter().texts(Kind::Correction), QStringList({kDataRange}));
        QCOMPARE(form.table().cell(start.column, start.row), QStringLiteral("7"));
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
        selectSilently(form, {3, 0});
        form.mapModel->setCellText(3, 0, "4.20");
        form.mapModel->setCellText(0, 1, "rpm");
        form.StringGrid1->moveToCell({0, 0});
        QCOMPARE(form.chart()->series(3)->name(), QStringLiteral("4.20"));
        QVERIFY(!form.StringGrid1->autoPopup());
        QVERIFY(!form.StringGrid1->openPopupAtCurrentCell());
        form.StringGrid1->moveToCell({1, 0}); // the corner relabels the rpm axis too
        QCOMPARE(form.chart()->pointLabel(1, 0), QStringLiteral("rpm"));
        QVERIFY(form.StringGrid1->autoPopup());
        QVERIFY(fixture.prompter().records.isEmpty());
    }

    void aBadCellElsewhereDoesNotHoldTheSelection() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(3, 20, "szöveg");
        selectSilently(form, {1, 1});
        form.mapModel->setCellText(1, 1, "9");
        form.StringGrid1->moveToCell({1, 2});
        QCOMPARE(form.StringGrid1->currentCell(), (CellPos{1, 2}));
        QCOMPARE(fixture.prompter().errors(), QStringList({"'szöveg' nem érvényes szám."}));
        QCOMPARE(form.chart()->series(1)->at(0).y(), 9.0);
    }

    // Leaving a settings field (by Tab) reaches its rule; the message comes before the
    // replacement.
    void leavingASettingsField_data() {
        QTest::addColumn<const ProgramFacts*>("program");
        QTest::addColumn<int>("field");          // 1, 2 or 3: the field typed into and left
        QTest::addColumn<QStringList>("before"); // Edit1, Edit2, Edit3
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("message");
        QTest::newRow("rpm") << &test::zerwa4_60() << 1 << QStringList{"", "1", "1"}
                             << QStringList{"3500", "1", "1"}
                             << "       Hibás érték!\nA fordulatszám 600 - 12000 közé eshet!";
        QTest::newRow("marker") << &test::zerwa8() << 2 << QStringList{"", "*", "3"}
                                << QStringList{"", "*", "50"} << QString();
        QTest::newRow("angle") << &test::zerwa4() << 3 << QStringList{"", "*", "600"}
                               << QStringList{"", "*", "50"}
                               << "       Hibás érték!\nA zárási szög 50 - 510 közé eshet!";
    }
    void leavingASettingsField() {
        QFETCH(const ProgramFacts*, program);
        QFETCH(int, field);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QString, message);
        FormFixture fixture(program->profile());
        TForm1& form = fixture.start();
        const QList<QLineEdit*> edits = {form.Panel1->Edit1, form.Panel1->Edit2,
                                         form.Panel1->Edit3};
        for (int i = 0; i < 3; ++i)
            edits.at(i)->setText(i + 1 == field ? QString() : before.at(i));
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QLineEdit* edit = edits.at(field - 1);
        edit->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, before.at(field - 1));
        QString textWhenShown;
        fixture.prompter().onRecord = [&] { textWhenShown = edit->text(); };
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(QStringList({edits.at(0)->text(), edits.at(1)->text(), edits.at(2)->text()}),
                 after);
        QCOMPARE(fixture.prompter().messages(),
                 message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(textWhenShown, before.at(field - 1));
    }

    // The ten popup steps: caption, component name, step and bound, each triggered.
    void popupSteps_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("plus");
        QTest::addColumn<QStringList>("after"); // of cells holding 10, 63 / 1, -3 / 70
        QTest::addColumn<double>("chart");      // the first point afterwards
        QTest::newRow("N051") << "N051"
                              << "+ 0,5" << true << QStringList{"10,5", "63,5", "-2,5"} << 10.5;
        QTest::newRow("N11") << "N11"
                             << "+ 1" << true << QStringList{"11", "63,5", "-2"} << 11.0;
        QTest::newRow("N21") << "N21"
                             << "+ 2" << true << QStringList{"12", "63,5", "-1"} << 12.0;
        QTest::newRow("N41") << "N41"
                             << "+ 4" << true << QStringList{"14", "63,5", "1"} << 14.0;
        QTest::newRow("N81") << "N81"
                             << "+ 8" << true << QStringList{"18", "63,5", "5"} << 18.0;
        QTest::newRow("N052") << "N052"
                              << "- 0,5" << false << QStringList{"9,5", "0,5", "69,5"} << 9.5;
        QTest::newRow("N12") << "N12"
                             << "- 1" << false << QStringList{"9", "0,5", "69"} << 9.0;
        QTest::newRow("N22") << "N22"
                             << "- 2" << false << QStringList{"8", "0,5", "68"} << 8.0;
        QTest::newRow("N42") << "N42"
                             << "- 4" << false << QStringList{"6", "0,5", "66"} << 6.0;
        QTest::newRow("N82") << "N82"
                             << "- 8" << false << QStringList{"2", "0,5", "62"} << 2.0;
    }
    void popupSteps() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, plus);
        QFETCH(QStringList, after);
        QFETCH(double, chart);
        for (const ProgramFacts& f : test::programFacts()) {
            FormFixture fixture(f.profile());
            TForm1& form = fixture.start();
            TableCommands* commands = form.tableCommands();
            QMenu* menu = plus ? commands->Plussz1 : commands->Minusz1;
            QCOMPARE(menu->title(), plus ? QStringLiteral("Plusz") : QStringLiteral("Minusz"));
            QCOMPARE(menu->objectName(),
                     plus ? QStringLiteral("Plussz1") : QStringLiteral("Minusz1"));
            QAction* item = menu->findChild<QAction*>(name);
            QVERIFY(item && menu->actions().contains(item));
            QCOMPARE(item->text(), caption);

            const int c = f.rememberedCell.column; // no cell selected yet
            const QStringList before =
                plus ? QStringList{"10", "63", "-3"} : QStringList{"10", "1", "70"};
            for (int r = 1; r <= 3; ++r)
                form.mapModel->setCellText(c, r, before.at(r - 1));
            item->trigger();
            QCOMPARE(column(form, c, 1, 3), after);
            QVERIFY(form.table().cell(c, f.rpmRows) != QString::number(c)); // every row
            QCOMPARE(form.chart()->series(c)->at(0).y(), chart);
            QCOMPARE(form.table().cell(c == 1 ? 2 : 1, 1), QString::number(c == 1 ? 2 : 1));
        }
    }

    void aTextCellStopsTheStepAndLeavesTheChart() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(2, 4, "szöveg");
        const QList<qreal> before = yValues(form.chart()->series(2));
        form.tableCommands()->N11Click();
        QCOMPARE(column(form, 2, 1, 5), QStringList({"3", "3", "3", "szöveg", "2"}));
        QCOMPARE(yValues(form.chart()->series(2)), before);
        QCOMPARE(fixture.prompter().errors(), QStringList({"'szöveg' nem érvényes szám."}));
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
        fixture.prompter().yesNo.push_back(yes);
        QTest::mouseClick(form.TorolBtn, Qt::LeftButton);

        QCOMPARE(fixture.prompter().texts(Kind::YesNo),
                 QStringList({"Biztosan törölni szeretnéd a bejegyzéseket?"}));
        QCOMPARE(form.LetoltBtn->isEnabled(), !yes);
        QCOMPARE(form.Panel1->settings().cylinders, yes ? QString() : QStringLiteral("4"));
        QCOMPARE(form.table().cell(5, 5), yes ? QStringLiteral("5") : QStringLiteral("40"));
        QCOMPARE(form.chart()->series(5)->at(4).y(), yes ? 5.0 : 40.0);
        QCOMPARE(form.table().cell(0, 2), axisEdit ? QStringLiteral("850") : QStringLiteral("999"));
        const QString title = axisEdit ? QStringLiteral("0.00") : QStringLiteral("9.99");
        QCOMPARE(form.table().cell(1, 0), title);
        QCOMPARE(form.chart()->series(1)->name(), title);
        QCOMPARE(form.chart()->pointLabel(1, 1), QStringLiteral("999")); // labels stay
        if (yes)
            for (int c = 1; c <= 8; ++c)
                QCOMPARE(yValues(form.chart()->series(c)), QList<qreal>(15, c));
        else
            QCOMPARE(form.table(), table);
    }

    void slopeFillRunsBelowTheRememberedCell() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(3, 10, "20");
        form.StringGrid1->moveToCell({3, 10});
        fixture.prompter().slopeFills.push_back(SlopeFillEntries{"1,5", "4"});
        form.tableCommands()->Fuggveny->trigger();
        QCOMPARE(column(form, 3, 10, 15), QStringList({"20", "21,5", "23", "24,5", "26", "3"}));
        QCOMPARE(form.chart()->series(3)->at(13).y(), 26.0);
        const MapTable before = form.table();
        fixture.prompter().slopeFills.push_back(std::nullopt);
        form.tableCommands()->FuggvenyClick();
        QCOMPARE(form.table(), before);
        QVERIFY(fixture.prompter().unexpected.isEmpty());
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
