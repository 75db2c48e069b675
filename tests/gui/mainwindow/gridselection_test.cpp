// SPDX-License-Identifier: GPL-3.0-or-later
// How the grid's selection meets the cell check: the check runs before the selection moves,
// the fixed row and column are not cells, and leaving axis-edit mode checks nothing. And the
// rpm column shows five digits whole.
#include "gui/mainwindow/buttonbars.h"
#include "gui/support/formfixture.h"

#include <QBrush>
#include <QImage>
#include <QStyle>

using namespace zerwa;
using zerwa::test::FormFixture;
using Kind = zerwa::test::ScriptedPrompter::Kind;

namespace {

bool fitsWhole(const QFont& font, int width) {
    return QFontMetrics(font).horizontalAdvance(QStringLiteral("15000")) <= width;
}

} // namespace

class GridSelectionTest : public QObject {
    Q_OBJECT

private slots:
    // Leaving a cell checks it while it is still selected; the correction dialog starts again
    // from the cell's text until the value is in range, which is then written as typed. A valid
    // text is left as typed, and a bad cell elsewhere holds nothing back.
    void leavingACellChecksItWhileItIsStillSelected() {
        FormFixture fixture(profiles::zerwa4_60()); // remembered cell (1, 1) from the start
        TForm1& form = fixture.startShown();
        MapGrid* grid = form.StringGrid1;
        QLineEdit* editor = fixture.editorOn({1, 1});
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("70"));
        QStringList asked; // the range, the text the dialog starts from, the selected row
        fixture.prompter().onRecord = [&] {
            const auto& record = fixture.prompter().records.constLast();
            if (record.kind == Kind::Correction)
                asked << QStringList{record.text, record.value,
                                     QString::number(grid->currentCell().row)}
                             .join(" | ");
        };
        fixture.prompter().corrections = {"64", "07"};
        QTest::keyClick(editor, Qt::Key_Down);
        QCOMPARE(asked, QStringList(2, "Az érték 0,5 - 63,5 közötti szám! | 70 | 1"));
        QCOMPARE(grid->currentCell(), CellPos({1, 2}));
        QCOMPARE(form.table().cell(1, 1), QStringLiteral("07"));
        QCOMPARE(form.rememberedCell(), CellPos({1, 2}));
        editor = fixture.editorOn({1, 2});
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("05"));
        form.mapModel->setCellText(3, 20, "szöveg");
        QTest::keyClick(editor, Qt::Key_Down);
        QCOMPARE(QStringList({form.table().cell(1, 2), form.table().cell(1, 1)}),
                 QStringList({"05", "07"}));
        QCOMPARE(grid->currentCell(), CellPos({1, 3}));
        QCOMPARE(fixture.prompter().errors(), QStringList({"'szöveg' nem érvényes szám."}));
    }

    // A click on the fixed row or column selects nothing; leaving axis-edit mode moves the
    // selection off the rpm column without a check.
    void theFixedAxesAreNoCells() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.startShown();
        for (const CellPos axis : {CellPos{0, 3}, CellPos{3, 0}}) { // an rpm label, a heading
            test::clickCell(form, axis);
            QCOMPARE(form.StringGrid1->currentCell(), CellPos({1, 1}));
            QCOMPARE(form.StringGrid1->selectionModel()->selectedIndexes().size(), 1);
        }
        QCOMPARE(fixture.prompter().records.size(), 0);
        QCOMPARE(form.rememberedCell(), profiles::zerwa8().initialRememberedCell);
        auto headingEditable = [&] {
            return bool(form.mapModel->index(0, 1).flags() & Qt::ItemIsEditable);
        };
        QVERIFY(!headingEditable());
        QTest::mouseClick(form.EditBtn, Qt::LeftButton);
        QCOMPARE(form.StringGrid1->fixedRowCount(), 0);
        QVERIFY(headingEditable());
        form.StringGrid1->moveToCell({0, 3});
        form.mapModel->setCellText(0, 3, QStringLiteral("500"));
        fixture.prompter().records.clear();
        QTest::mouseClick(form.EditBtn, Qt::LeftButton);
        QCOMPARE(form.StringGrid1->fixedColumnCount(), 1);
        QCOMPARE(form.StringGrid1->fixedRowCount(), 1);
        QCOMPARE(form.StringGrid1->currentCell(), CellPos({1, 3}));
        QCOMPARE(form.rememberedCell(), CellPos({0, 3}));
        QCOMPARE(fixture.prompter().records.size(), 0);
        QCOMPARE(form.table().cell(0, 3), QStringLiteral("500"));
    }

    void aRefusedDownloadMarksTheFirstFailingValueUntilItIsEdited() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.startShown();
        form.Panel1->setSettings({"4", "9000", "1,5", "3", "Lefutó", "Felfutó"});
        form.mapModel->setCellText(3, 55, QStringLiteral("70"));
        form.mapModel->setCellText(2, 58, QStringLiteral("x"));
        const MapTable before = form.table();
        const CellPos selected = form.StringGrid1->currentCell();
        const CellPos remembered = form.rememberedCell();

        form.LetoltBtnClick();
        QCOMPARE(fixture.prompter().messages(),
                 QStringList({"Hiba az adattáblán!\n Kérem ellenőrizze az adatokat!"}));
        QVERIFY(fixture.serial().events.isEmpty());
        const QModelIndex marked = form.mapModel->index(55, 3);
        QCOMPARE(marked.data(Qt::BackgroundRole).value<QBrush>().color(),
                 MapTableModel::markColour());
        QVERIFY(!form.mapModel->index(58, 2).data(Qt::BackgroundRole).isValid());
        QVERIFY(
            form.StringGrid1->viewport()->rect().intersects(form.StringGrid1->visualRect(marked)));
        QCOMPARE(form.table(), before);
        QCOMPARE(form.StringGrid1->currentCell(), selected);
        QCOMPARE(form.rememberedCell(), remembered);

        // Selected, with its editor open and after the grid has lost the focus, it stays marked.
        QLineEdit* editor = fixture.editorOn({3, 55});
        const QPoint inside = form.StringGrid1->visualRect(marked).bottomRight() - QPoint(3, 3);
        for (QWidget* away : {static_cast<QWidget*>(editor), static_cast<QWidget*>(form.EditBtn)}) {
            away->setFocus();
            QTRY_VERIFY(away->hasFocus());
            QCOMPARE(form.StringGrid1->viewport()->grab().toImage().pixelColor(inside),
                     MapTableModel::markColour());
        }
        form.mapModel->setCellText(3, 55, QStringLiteral("7"));
        QVERIFY(!marked.data(Qt::BackgroundRole).isValid());

        // The next refusal marks the next value: a settings field this time.
        form.mapModel->setCellText(2, 58, QStringLiteral("2"));
        form.Panel1->Edit2->setText(QStringLiteral("5"));
        form.LetoltBtnClick();
        QCOMPARE(form.Panel1->Edit2->palette().color(QPalette::Base), MapTableModel::markColour());
        QVERIFY(form.Panel1->Edit1->palette().color(QPalette::Base) != MapTableModel::markColour());
        form.Panel1->Edit2->setText(QStringLiteral("1"));
        QVERIFY(form.Panel1->Edit2->palette().color(QPalette::Base) != MapTableModel::markColour());
    }

    void fiveDigitRpmValuesShowWhole_data() { test::addProgramRows(); }
    void fiveDigitRpmValuesShowWhole() {
        QFETCH(const test::ProgramFacts*, program);
        FormFixture fixture(program->profile());
        TForm1& form = fixture.startShown();
        MapGrid* grid = form.StringGrid1;
        const int width = program->columnWidths.at(0);

        // Fixed column: a header section, with the header's margin on each side.
        QHeaderView* labels = grid->verticalHeader();
        const int headerMargin =
            labels->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, labels);
        QVERIFY(fitsWhole(labels->font(), width - 2 * headerMargin));

        // Axis-edit mode: a cell, with the item view's text margin on each side.
        form.EditBtnClick();
        const QRect cell = grid->visualRect(form.mapModel->index(1, 0));
        QCOMPARE(cell.width(), width - 1); // the grid line takes a pixel
        const int textMargin =
            grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
        const QFont cellFont = form.mapModel->index(1, 0).data(Qt::FontRole).value<QFont>();
        QVERIFY(fitsWhole(cellFont, cell.width() - 2 * textMargin));

        // Its editor: the text area of the line edit.
        QLineEdit* editor = fixture.editorOn({0, 1});
        editor->setText(QStringLiteral("15000"));
        const int textWidth = editor->contentsRect().width() - editor->textMargins().left() -
                              editor->textMargins().right() - 2 * 2 - 1;
        QVERIFY(fitsWhole(editor->font(), textWidth));
    }
};

QTEST_MAIN(GridSelectionTest)
#include "gridselection_test.moc"
