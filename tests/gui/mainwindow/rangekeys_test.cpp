// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on marked cells through their keys, with the program's own dialogs: a fill from
// the open editor with and without the correction dialog, the interpolation, the range dialog's
// OK and Cancel, each one step of the history; the HTML of a copy; the key legend.
#include "core/model/mapclipboard.h"
#include "core/model/variantprofiles.h"
#include "document/model/mapdocument.h"
#include "gui/chart/chartmirror.h"
#include "gui/dialogs/keylegendwindow.h"
#include "gui/dialogs/rangedialog.h"
#include "gui/mainwindow/teditform.h"
#include "gui/support/formfixture.h"

#include <QClipboard>
#include <QLabel>
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
        : fixture(profile)
        , form(&fixture.startWithOwnDialogs(prompter)) {
        g_window = form;
    }
    // Marks the range with a click and a Shift+click, as a person does.
    void mark(CellRange range) {
        for (const CellPos cell : {range.topLeft, range.bottomRight}) {
            const QModelIndex index = form->mapModel->index(cell.row, cell.column);
            QTest::mouseClick(form->StringGrid1->viewport(), Qt::LeftButton,
                              cell == range.topLeft ? Qt::NoModifier : Qt::ShiftModifier,
                              form->StringGrid1->visualRect(index).center());
        }
    }
    // The range's texts, a tab between cells and a line end after each row.
    QString texts(CellRange range) const {
        return mapclipboard::copyText(form->table(), range.topLeft, range.bottomRight);
    }
    int steps() const { return form->document().history().index(); }
    QtPrompter prompter;
    test::FormFixture fixture;
    TForm1* form;
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
    auto active = [] {
        return QApplication::activeWindow() == g_window && QApplication::focusWidget() &&
               QGuiApplication::focusWindow() == g_window->windowHandle();
    };
    if (!active())
        g_window->activateWindow();
    (void)QTest::qWaitFor(active);
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
        window.mark(range);
        const int steps = window.steps();
        cellEditor()->selectAll();
        QTest::keyClicks(cellEditor(), "70");
        whenOpen<TEditForm>(window.form, [](TEditForm* dialog) {
            dialog->Edit1->setText("12,5");
            QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
        });
        press(Qt::Key_Return);
        QCOMPARE(window.texts(range), "12,5\t12,5\n12,5\t12,5\n");
        QCOMPARE(cellEditor()->text(), QStringLiteral("12,5"));
        QCOMPARE(window.form->chart()->series(1)->at(1).y(), 12.5);
        QCOMPARE(window.steps(), steps + 1); // the typing, the correction and the fill
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), "1\t2\n1\t2\n");
        QCOMPARE(window.form->chart()->series(1)->at(1).y(), 1.0);

        cellEditor()->selectAll();
        QTest::keyClicks(cellEditor(), "7");
        press(Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(window.texts(range), "7\t7\n7\t7\n");
        QCOMPARE(window.steps(), steps + 1);
        QTest::keyClicks(cellEditor(), "5"); // after the fill, typing is a step of its own
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), "7\t7\n7\t7\n");
    }

    void ctrlIInterpolatesAndAddsFromTheClipboard() {
        Window window(profiles::zerwa8());
        const CellRange range{{1, 1}, {3, 3}};
        window.form->mapModel->setCellText(3, 3, "7");
        window.mark(range);
        press(Qt::Key_I);
        QCOMPARE(window.texts(range), "1\t2\t3\n1\t3\t5\n1\t4\t7\n");
        QCOMPARE(window.form->chart()->series(2)->at(1).y(), 3.0);
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), "1\t2\t3\n1\t2\t3\n1\t2\t7\n");

        QApplication::clipboard()->setText("0,5\t1\n");
        press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window.texts({{3, 3}, {4, 3}}), "7,5\t5\n");
    }

    // OK is offered only for an amount that may be used, and the line says why not; OK is one
    // step, Cancel changes nothing; the choice stays for the next time.
    void theRangeDialogPreviewsAndAppliesOnOK() {
        Window window(profiles::zerwa4());
        const CellRange range{{3, 1}, {4, 2}};
        window.mark(range);
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
        QCOMPARE(window.texts(range), "63\t63,5\n63\t63,5\n");
        press(Qt::Key_Z);
        QCOMPARE(window.texts(range), "3\t4\n3\t4\n");

        whenOpen<RangeDialog>(window.form, [&seen](RangeDialog* dialog) {
            seen << dialog->amountEdit->text();
            dialog->operationButtons.at(int(rangeedits::Operation::Smooth))->click();
            seen << dialog->previewLabel->text();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        press(Qt::Key_M);
        QCOMPARE(seen.mid(4), QStringList({"60", "4 cella változik, 0 a határon"}));
        QCOMPARE(window.texts(range), "3\t4\n3\t4\n");
    }

    // Spreadsheets take the HTML table first: headings and rpm labels as text, values as numbers.
    // F1 lists every key.
    void aCopyOffersAnHtmlTableAndF1ListsTheKeys() {
        Window window(profiles::zerwa4());
        window.form->mapModel->setCellText(1, 1, "12,5");
        window.form->mapModel->setCellText(2, 1, "1e3");
        press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QVERIFY(copied->text().startsWith("\t0.00\t2.40\t3.00\t3.60\n600\t12,5\t1e3\t3\t4\n"));
        const QString text = QStringLiteral("<td sdnum=\"1033;1033;@\" "
                                            "style=\"mso-number-format:'\\@'\">%1</td>");
        QVERIFY(copied->html().contains(text.arg("3.60") + "</tr>\n<tr>" + text.arg("600") +
                                        "<td sdval=\"12.5\" sdnum=\"1033;\">12,5</td>" +
                                        text.arg("1e3") +
                                        "<td sdval=\"3\" sdnum=\"1033;\">3</td>"));

        press(Qt::Key_F1, Qt::NoModifier);
        const KeyLegendWindow* legend = window.form->keyLegend();
        QVERIFY(legend && legend->isVisible());
        QCOMPARE(legend->windowTitle(), QStringLiteral("Billentyűk"));
        const auto keys = legend->keyTable->findItems("Ctrl", Qt::MatchStartsWith);
        QCOMPARE(keys.size(), 13);
    }
};

QTEST_MAIN(RangeKeysTest)
#include "rangekeys_test.moc"
