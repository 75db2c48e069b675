// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on marked cells through their keys, with the program's own dialogs: a fill from
// the open editor with and without the correction dialog, the interpolation, the range dialog's
// OK and Cancel, each one step of the history; the HTML of a copy; the key legend.
#include "core/model/variantprofiles.h"
#include "document/model/mapdocument.h"
#include "gui/chart/chartmirror.h"
#include "gui/dialogs/keylegendwindow.h"
#include "gui/dialogs/rangedialog.h"
#include "gui/mainwindow/qtprompter.h"
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
        : fixture(profile) {
        fixture.usePrompter(prompter);
        form = &fixture.startShown();
        prompter.setParentWindow(form);
        g_window = form;
    }
    // Marks the cells from `from` to `to` with a click and a Shift+click, as a person does.
    void mark(CellPos from, CellPos to) {
        for (const CellPos cell : {from, to}) {
            const QModelIndex index = form->mapModel->index(cell.row, cell.column);
            QTest::mouseClick(form->StringGrid1->viewport(), Qt::LeftButton,
                              cell == from ? Qt::NoModifier : Qt::ShiftModifier,
                              form->StringGrid1->visualRect(index).center());
        }
    }
    QStringList texts(CellRange range) const {
        QStringList result;
        for (int r = range.topLeft.row; r <= range.bottomRight.row; ++r)
            for (int c = range.topLeft.column; c <= range.bottomRight.column; ++c)
                result << form->table().cell(c, r);
        return result;
    }
    int steps() const { return form->document().history().index(); }
    QtPrompter prompter;
    test::FormFixture fixture;
    TForm1* form = nullptr;
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
    if (!QApplication::focusWidget())
        g_window->activateWindow();
    (void)QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; });
    return QApplication::focusWidget();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(focused(), key, modifiers);
}

QLineEdit* cellEditor() {
    return qobject_cast<QLineEdit*>(focused());
}

} // namespace

class RangeKeysTest : public QObject {
    Q_OBJECT

private slots:
    void ctrlReturnFillsTheMarkedCellsAfterTheCellCheck() {
        Window window(profiles::zerwa4());
        const CellRange range{{1, 2}, {2, 3}};
        window.mark(range.topLeft, range.bottomRight);
        QVERIFY(cellEditor());
        const int steps = window.steps();
        cellEditor()->selectAll();
        QTest::keyClicks(cellEditor(), "70");
        whenOpen<TEditForm>(window.form, [](TEditForm* dialog) {
            dialog->Edit1->setText("12,5");
            QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
        });
        press(Qt::Key_Return);
        QCOMPARE(window.texts(range), QStringList({"12,5", "12,5", "12,5", "12,5"}));
        QVERIFY(cellEditor());
        QCOMPARE(cellEditor()->text(), QStringLiteral("12,5"));
        QCOMPARE(window.form->chart()->series(1)->at(1).y(), 12.5);
        QCOMPARE(window.steps(), steps + 1); // the typing, the correction and the fill
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), QStringList({"1", "2", "1", "2"}));
        QCOMPARE(window.form->chart()->series(1)->at(1).y(), 1.0);

        cellEditor()->selectAll();
        QTest::keyClicks(cellEditor(), "7");
        press(Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(window.texts(range), QStringList({"7", "7", "7", "7"}));
        QCOMPARE(window.steps(), steps + 1);
        QTest::keyClicks(cellEditor(), "5"); // after the fill, typing is a step of its own
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), QStringList({"7", "7", "7", "7"}));
    }

    void ctrlIInterpolatesAndAddsFromTheClipboard() {
        Window window(profiles::zerwa8());
        const CellRange range{{1, 1}, {3, 3}};
        window.form->mapModel->setCellText(3, 3, "7");
        window.mark(range.topLeft, range.bottomRight);
        press(Qt::Key_I);
        QCOMPARE(window.texts(range), QStringList({"1", "2", "3", "1", "3", "5", "1", "4", "7"}));
        QCOMPARE(window.form->chart()->series(2)->at(1).y(), 3.0);
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), QStringList({"1", "2", "3", "1", "2", "3", "1", "2", "7"}));

        QApplication::clipboard()->setText("0,5\t1\n");
        press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window.texts({{3, 3}, {4, 3}}), QStringList({"7,5", "5"}));
        QApplication::clipboard()->setText("1\tabc\n");
        QString message;
        whenOpen<QMessageBox>(window.form, [&message](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(message.startsWith("A hozzáadás nem lehetséges, a táblázat nem változott."));
        QCOMPARE(window.texts({{3, 3}, {4, 3}}), QStringList({"7,5", "5"}));
    }

    // OK is offered only for an amount that may be used, and the line says why not; OK is one
    // step, Cancel changes nothing; the choice stays for the next time.
    void theRangeDialogPreviewsAndAppliesOnOK() {
        Window window(profiles::zerwa4());
        const CellRange range{{3, 1}, {4, 2}};
        window.mark(range.topLeft, range.bottomRight);
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
        QCOMPARE(window.texts(range), QStringList({"63", "63,5", "63", "63,5"}));
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), QStringList({"3", "4", "3", "4"}));

        whenOpen<RangeDialog>(window.form, [&seen](RangeDialog* dialog) {
            seen << dialog->amountEdit->text();
            dialog->operationButtons.at(int(rangeedits::Operation::Smooth))->click();
            seen << dialog->previewLabel->text();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        press(Qt::Key_M);
        QCOMPARE(seen.mid(4), QStringList({"60", "4 cella változik, 0 a határon"}));
        QCOMPARE(window.texts(range), QStringList({"3", "4", "3", "4"}));
    }

    // Spreadsheets take the HTML table first: headings and rpm labels as text, values as numbers.
    void aCopyOffersAnHtmlTable() {
        Window window(profiles::zerwa4());
        window.form->mapModel->setCellText(1, 1, "12,5");
        window.form->mapModel->setCellText(2, 1, "1e3");
        press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QVERIFY(copied->text().startsWith("\t0.00\t2.40\t3.00\t3.60\n600\t12,5\t1e3\t3\t4\n"));
        const QString text = QStringLiteral("<td sdnum=\"1033;1033;@\" "
                                            "style=\"mso-number-format:'\\@'\">%1</td>");
        QVERIFY(copied->html().contains(
            "<tr>" + text.arg("") + text.arg("0.00") + text.arg("2.40") + text.arg("3.00") +
            text.arg("3.60") + "</tr>\n<tr>" + text.arg("600") +
            "<td sdval=\"12.5\" sdnum=\"1033;\">12,5</td>" + text.arg("1e3") +
            "<td sdval=\"3\" sdnum=\"1033;\">3</td>"));
    }

    void f1ShowsEveryKey() {
        Window window(profiles::zerwa4_60());
        press(Qt::Key_F1, Qt::NoModifier);
        KeyLegendWindow* legend = window.form->keyLegend();
        QVERIFY(legend && legend->isVisible());
        QCOMPARE(legend->windowTitle(), QStringLiteral("Billentyűk"));
        QStringList keys;
        for (int row = 0; row < legend->keyTable->rowCount(); ++row)
            keys << legend->keyTable->item(row, 0)->text();
        for (const char* key : {"Ctrl+I", "Ctrl+M", "Ctrl+Shift+V", "Ctrl+Z", "Ctrl+L", "Ctrl+D",
                                "Ctrl+Shift+D", "F3, Shift+F3", "Ctrl+H", "F1"})
            QVERIFY2(keys.contains(QString::fromLatin1(key)), key);
    }
};

QTEST_MAIN(RangeKeysTest)
#include "rangekeys_test.moc"
