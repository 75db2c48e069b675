// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison with a reference map and the value colours, as the user has them in the
// window: the marks of the cells, headers and settings with their tooltips, marks that follow
// the edits, F3 through the differences, the reference dashed in the chart, the references that
// cannot be used, and the cells coloured by value under the selection's outline.
#include "core/journal/journal.h"
#include "core/support/samplerecord.h"
#include "document/compare/mapcomparison.h"
#include "document/model/mapdocument.h"
#include "document/session/mapsession.h"
#include "gui/chart/chartmirror.h"
#include "gui/compare/comparisoncontrols.h"
#include "gui/compare/comparisonwindow.h"
#include "gui/journal/journalwindow.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/support/formfixture.h"

#include <QChart>
#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTableView>

using namespace zerwa;
using test::FormFixture;
using Kind = test::ScriptedPrompter::Kind;

namespace {

// The cells the grid marks as differing, in reading order.
QList<CellPos> markedCells(const TForm1& form) {
    QList<CellPos> cells;
    for (int row = 0; row < form.table().rows(); ++row)
        for (int column = 0; column < form.table().columns(); ++column)
            if (form.mapModel->decoration(column, row).differs)
                cells.append({column, row});
    return cells;
}

QString toolTip(const TForm1& form, CellPos cell) {
    return form.mapModel->index(cell.row, cell.column).data(Qt::ToolTipRole).toString();
}

QColor pixelAt(QWidget* widget, QPoint at) {
    return widget->grab().toImage().pixelColor(at);
}

} // namespace

class ComparisonTest : public QObject {
    Q_OBJECT

private slots:
    // A reference differing in 3 data cells, 1 rpm cell and 1 setting: exactly those 5 marks,
    // with their tooltips; the count follows an edit back to the reference's text and its undo;
    // F3 visits them in order and wraps; Escape in the window ends it all.
    void theDifferencesAreMarkedFollowTheEditsAndF3VisitsThem() {
        const VariantProfile& profile = profiles::zerwa4();
        FormFixture fixture(profile);
        fixture.startShown();
        test::SampleMap map(profile);
        map.table.setCell(1, 5, "12");
        TForm1& form = fixture.withMap(map);
        form.document().setCurrentMapFileName(fixture.pathOf("sajat.qmt"));
        test::SampleMap reference = map;
        const QList<std::pair<CellPos, QString>> differing = {
            {{3, 2}, "x"}, {{1, 5}, "12,5"}, {{0, 7}, "2150"}, {{4, 30}, "4,25"}};
        for (const auto& [cell, text] : differing)
            reference.table.setCell(cell, text);
        reference.settings.limitRpm = "11500";
        test::writeMap(fixture.pathOf("referencia.qmt"), profile, reference);
        const int steps = form.document().history().count();

        fixture.prompter().openFiles = {fixture.pathOf("referencia.qmt")};
        QTest::keyClick(fixture.editorOn({2, 10}), Qt::Key_D, Qt::ControlModifier);
        const FileDialogRequest asked = fixture.prompter().records.constLast().request;
        QCOMPARE(QStringList({asked.presetName, asked.directory, asked.caption}),
                 QStringList({"sajat.qmt", fixture.folder(), "Összehasonlítás"}));
        QCOMPARE(markedCells(form), QList<CellPos>({{3, 2}, {1, 5}, {0, 7}, {4, 30}}));
        QCOMPARE(
            QStringList({toolTip(form, {3, 2}), toolTip(form, {1, 5}), toolTip(form, {0, 7}),
                         toolTip(form, {4, 30}), form.Panel1->Edit1->toolTip(),
                         form.Panel1->Edit2->toolTip()}),
            QStringList({"Referencia: x", "Referencia: 12,5 (-0,5; a készülékben -1 fél egység)",
                         "Referencia: 2150 (-50)",
                         "Referencia: 4,25 (-0,25; a készülékben 0 fél egység)",
                         "Referencia: 11500 (+500)", ""}));
        QVERIFY(form.Panel1->Edit1->font().bold() && !form.Panel1->Edit2->font().bold());
        QVERIFY(form.mapModel->index(5, 1).data(Qt::FontRole).value<QFont>().bold());
        // The corner mark, in a data cell and in the rpm header.
        const QRect cell = form.StringGrid1->visualRect(form.mapModel->index(5, 1));
        QCOMPARE(pixelAt(form.StringGrid1->viewport(), cell.topRight() + QPoint(-1, 1)),
                 celldecoration::differenceColour());
        QHeaderView* rpm = form.StringGrid1->verticalHeader();
        QCOMPARE(pixelAt(rpm->viewport(), {rpm->width() - 2, rpm->sectionViewportPosition(7) + 1}),
                 celldecoration::differenceColour());
        ComparisonWindow* window = form.comparisonControls()->window();
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Összehasonlítás"));
        QCOMPARE(window->countLabel->text(),
                 QStringLiteral("Eltérő cellák: 4\nEltérő beállítások: 1"));
        QCOMPARE(form.table(), map.table);
        QCOMPARE(form.document().history().count(), steps);

        QLineEdit* editor = fixture.editorOn({1, 5});
        editor->selectAll();
        QTest::keyClicks(editor, "12,5");
        QCOMPARE(window->countLabel->text(),
                 QStringLiteral("Eltérő cellák: 3\nEltérő beállítások: 1"));
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(editor->font().bold()); // the open editor shows the mark too

        // F3: the cells in reading order (the rpm cell only scrolled into view), then the
        // setting; then round again. Shift+F3 in the window goes back over the end.
        const QList<CellPos> selected = {{3, 2}, {1, 5}, {1, 5}, {4, 30}};
        for (int i = 0; i < selected.size(); ++i) {
            if (i == 2) // the rpm cell's turn
                form.StringGrid1->scrollToBottom();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
            QCOMPARE(form.StringGrid1->currentCell(), selected.at(i));
            QVERIFY(i != 2 || rpm->sectionViewportPosition(7) >= 0);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
        QTRY_VERIFY(form.Panel1->Edit1->hasFocus());
        QTest::keyClick(form.Panel1->Edit1, Qt::Key_F3);
        QCOMPARE(form.StringGrid1->currentCell(), CellPos({3, 2}));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F3, Qt::ShiftModifier);
        QTRY_COMPARE(QApplication::focusWidget(), form.Panel1->Edit1);

        QTRY_COMPARE(QApplication::activeWindow(), &form); // the visit took the user there
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window);
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!form.session().comparison().isOn() && !window->isVisible());
        QVERIFY(markedCells(form).isEmpty() && form.Panel1->Edit1->toolTip().isEmpty());
        QVERIFY(form.chart()->referenceLines().isEmpty());
    }

    // Dashed, in the series' colours, point k at x = k, no legend entry; a text that is not a
    // number breaks its line, and the map's own lines stay as they are.
    void theChartDrawsTheReferenceDashed() {
        const VariantProfile& profile = profiles::zerwa8();
        FormFixture fixture(profile);
        TForm1& form = fixture.start();
        test::SampleMap reference(profile);
        reference.table.setCell(2, 4, "x");
        reference.table.setCell(3, 15, "70");
        test::writeMap(fixture.pathOf("r.qmt"), profile, reference);
        fixture.prompter().openFiles = {fixture.pathOf("r.qmt")};
        form.session().compareWithFile();

        const ChartMirror& chart = *form.chart();
        QList<int> columns;
        for (const QLineSeries* line : chart.referenceLines()) {
            const int c = line->objectName().mid(9).toInt();
            columns << c;
            QCOMPARE(line->pen().style(), Qt::DashLine);
            QCOMPARE(line->pen().color(), chart.series(c)->pen().color());
            QVERIFY(!chart.chart()
                         ->legend()
                         ->markers(const_cast<QLineSeries*>(line))
                         .at(0)
                         ->isVisible());
            for (const QPointF& point : line->points())
                QCOMPARE(point.y(),
                         NumberFormat(u',').strict(reference.table.cell(c, int(point.x()) + 1)));
        }
        QCOMPARE(columns, QList<int>({1, 2, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(chart.referenceLines().at(1)->count(), 3); // rows 1 to 3, then 5 to 15
        QCOMPARE(chart.referenceLines().at(2)->count(), 11);
        QCOMPARE(QPointF(chart.series(2)->count(), chart.series(2)->at(3).y()), QPointF(15, 2));

        form.comparisonControls()->window()->close(); // its close button ends the comparison
        QVERIFY(!form.session().comparison().isOn());
        QCOMPARE(chart.chart()->series().size(), 8);
    }

    // A reference that cannot be used: one message, no comparison, the map and its history as
    // they were. Ctrl+Shift+D takes the newest delivered download; Load ends the comparison.
    void referencesThatCannotBeUsedAndWhatEndsAComparison() {
        const VariantProfile& profile = profiles::zerwa4_60();
        FormFixture fixture(profile);
        TForm1& form = fixture.startShown();
        QDir(fixture.folder()).mkdir("masik");
        test::writeMap(fixture.pathOf("masik/zerwa4.qmt"), profiles::zerwa4(),
                       test::SampleMap(profiles::zerwa4()));
        const Journal journal(fixture.journalFolder());
        JournalRecord failed = test::sampleRecord(profile);
        failed.summary.outcome = JournalOutcome::Failed;
        journal.create(failed);
        const QString foreignId = journal.create(test::sampleRecord(profiles::zerwa4())).id;
        const QString damagedId = journal.create(test::sampleRecord(profile)).id;
        test::writeBytes(journal.pathOf(damagedId), "zerwa-record\n");
        form.mapModel->setCellText(1, 1, "7");
        const MapTable table = form.table();
        const int steps = form.document().history().count();

        auto fromFile = [&](const QString& name) -> std::function<void()> {
            return [&, name] {
                fixture.prompter().openFiles = {fixture.pathOf(name)};
                form.session().compareWithFile();
            };
        };
        const std::pair<std::function<void()>, QString> cases[] = {
            {fromFile("masik/zerwa4.qmt"), "Nem megfelelő adatállomány!"},
            {fromFile("nincs.qmt"),
             "Nem tudom megnyitni az állományt!\n" + fixture.pathOf("nincs.qmt")},
            {[&] { form.session().compareWithRecord(foreignId); }, "Nem megfelelő adatállomány!"},
            {[&] { form.session().compareWithRecord(damagedId); }, "sérült"},
            {[&] { form.session().compareWithLastDelivery(); },
             "Nincs befejezett letöltés a letöltési naplóban!"}};
        for (const auto& [attempt, message] : cases) {
            fixture.prompter().records.clear();
            attempt();
            QCOMPARE(fixture.prompter().messages().size(), 1);
            QVERIFY2(fixture.prompter().messages().at(0).contains(message), qPrintable(message));
            QVERIFY(!form.session().comparison().isOn());
            QCOMPARE(form.table(), table);
            QCOMPARE(form.document().history().count(), steps);
        }

        JournalRecord delivered = test::sampleRecord(profile);
        delivered.summary.time = delivered.summary.time.addSecs(-60);
        journal.create(delivered);
        QTest::keyClick(fixture.editorOn({2, 2}), Qt::Key_D,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(form.session().comparison().isOn());
        QCOMPARE(form.session().comparison().referenceName(),
                 QStringLiteral("letöltés, 2025.03.14. 11:14:02, COM1"));
        QCOMPARE(markedCells(form).size(), 240); // every data cell holds 10 there

        test::writeMap(fixture.pathOf("masik.qmt"), profile, test::SampleMap(profile));
        fixture.prompter().openFiles = {fixture.pathOf("masik.qmt")};
        QTest::mouseClick(form.LoadBtn, Qt::LeftButton); // in its own folder still
        QCOMPARE(fixture.prompter().records.constLast().request.directory, fixture.folder());
        QVERIFY(!form.session().comparison().isOn() &&
                !form.comparisonControls()->window()->isVisible());

        // The journal window's button compares with the selected record.
        QTest::keyClick(fixture.editorOn({2, 2}), Qt::Key_L, Qt::ControlModifier);
        JournalWindow* list = form.journalWindow();
        list->table->selectRow(0);
        QPushButton* compare = nullptr;
        for (QPushButton* button : list->findChildren<QPushButton*>())
            compare = button->text() == "Összehasonlítás" ? button : compare;
        QTest::mouseClick(compare, Qt::LeftButton);
        QCOMPARE(form.session().comparison().referenceName(),
                 "letöltés, 2025.03.14. 11:15:02, COM1");
        QTest::mouseClick(form.comparisonControls()->window()->endButton, Qt::LeftButton);
        QVERIFY(!form.session().comparison().isOn());
        QTest::mouseClick(compare, Qt::LeftButton);
        QTest::mouseClick(list->loadButton, Qt::LeftButton); // a record's map loaded ends it too
        QVERIFY(!form.session().comparison().isOn());
    }

    // Ctrl+H: data cells only, on the scale's colours, black or white text; a value out of
    // range or not a number uncoloured; the refused mark before the value colour; the selection
    // an outline over the colour. Off, nothing is decorated.
    void valueColoursUnderTheSelectionsOutline() {
        const VariantProfile& profile = profiles::zerwa4();
        FormFixture fixture(profile);
        TForm1& form = fixture.startShown();
        const QStringList texts = {"0,5", "63,5", "32", "70", "x"};
        for (int i = 0; i < texts.size(); ++i)
            form.mapModel->setCellText(1, 3 + i, texts.at(i));
        auto shown = [&](CellPos cell) {
            const CellDecoration d = form.mapModel->decoration(cell.column, cell.row);
            return d.background ? d.background->name() + '/' + d.text->name() : QString();
        };
        QTest::keyClick(fixture.editorOn({2, 10}), Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(
            QStringList({shown({1, 3}), shown({1, 4}), shown({1, 5}), shown({1, 6}), shown({1, 7}),
                         shown({0, 3}), shown({1, 0})}),
            QStringList({"#313695/#ffffff", "#a50026/#ffffff", "#ffffbf/#000000", "", "", "", ""}));
        form.document().setMark({CellPos{1, 3}, std::nullopt});
        QCOMPARE(shown({1, 3}), celldecoration::refusedColour().name() + "/#000000");
        QVERIFY(form.mapModel->decoration(1, 3).refused);

        MapGrid* grid = form.StringGrid1;
        grid->selectionModel()->select(
            QItemSelection(form.mapModel->index(3, 1), form.mapModel->index(5, 2)),
            QItemSelectionModel::ClearAndSelect);
        // Inside a selected cell and the current one, whose editor is open: their own colours.
        const std::pair<CellPos, QString> cells[] = {{{1, 4}, "#a50026"},
                                                     {{2, 10}, shown({2, 10})}};
        for (const auto& [cell, colour] : cells) {
            const QRect inside = grid->visualRect(form.mapModel->index(cell.row, cell.column));
            QCOMPARE(
                pixelAt(grid->viewport(), inside.center() + QPoint(inside.width() / 3, 0)).name(),
                colour.left(7));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::ControlModifier);
        form.document().setMark({});
        for (int row = 0; row < form.table().rows(); ++row)
            for (int column = 0; column < form.table().columns(); ++column)
                QVERIFY(form.mapModel->decoration(column, row) == CellDecoration());
    }
};

QTEST_MAIN(ComparisonTest)
#include "comparison_test.moc"
