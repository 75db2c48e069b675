// SPDX-License-Identifier: GPL-3.0-or-later
// The settings checks and the grid's cell check with the program's real modal boxes: a box
// opened while the focus moves must not let a field go unchecked, nor swallow the click that
// moved the focus.
#include "core/model/variantprofiles.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/mainwindow/maptablemodel.h"
#include "gui/mainwindow/qtprompter.h"
#include "gui/mainwindow/settingspanel.h"
#include "gui/mainwindow/teditform.h"
#include "gui/mainwindow/tform1.h"
#include "gui/support/formfixture.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zerwa;

namespace {

// Closes every modal dialog shortly after it opens, noting what it was: a message box by its
// text, any other dialog by its class. A message box is closed the way the row asks (Escape,
// Enter or its close button); the correction dialog gets a valid value.
class ModalCloser : public QObject {
public:
    enum class Way { Escape, Enter, CloseButton };
    explicit ModalCloser(Way way = Way::Escape) {
        connect(&m_timer, &QTimer::timeout, this, [this, way] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = qobject_cast<QDialog*>(modal);
            if (!dialog || !dialog->isVisible())
                return;
            const auto* box = qobject_cast<QMessageBox*>(dialog);
            seen << (box ? box->text() : QString::fromLatin1(dialog->metaObject()->className()));
            if (auto* correction = qobject_cast<TEditForm*>(dialog)) {
                correction->Edit1->setText(QStringLiteral("12,5"));
                correction->accept();
            } else if (box && way != Way::Escape) {
                way == Way::Enter ? QTest::keyClick(dialog, Qt::Key_Return) : void(dialog->close());
            } else {
                QTest::keyClick(dialog, Qt::Key_Escape);
            }
        });
        m_timer.start(20);
    }
    QStringList seen;

private:
    QTimer m_timer;
};

// The window with the program's own message boxes, shown and active.
class Window {
public:
    explicit Window(const VariantProfile& profile)
        : fixture(profile) {
        fixture.usePrompter(prompter);
        form = &fixture.startShown();
        prompter.setParentWindow(form);
    }
    QtPrompter prompter;
    test::FormFixture fixture;
    TForm1* form = nullptr;
};

const QString kLimitRpm =
    QStringLiteral("       Hibás érték!\nA fordulatszám 600 - 15000 közé eshet!");
const QString kOpening = QStringLiteral(
    "       Hibás érték!\nA nyitási idő 0,2 - 2,0 közé eshet!\nVagy a '*' karakter megengedett!");
const QString kClosingTime =
    QStringLiteral("       Hibás érték!\nA zárási idő 0,5 - 10 közé eshet!");

void clickCell(TForm1* form, CellPos cell) {
    const QModelIndex index = form->mapModel->index(cell.row, cell.column);
    form->StringGrid1->scrollTo(index);
    QTest::mouseClick(form->StringGrid1->viewport(), Qt::LeftButton, {},
                      form->StringGrid1->visualRect(index).center());
}

// Types into whatever has the focus, then presses a key there.
void typeThen(const QString& text, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClicks(QApplication::focusWidget(), text);
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

} // namespace

class RealDialogsTest : public QObject {
    Q_OBJECT

private slots:
    // A click on a button with a bad value in the field: one message, then the button's own
    // question, once, whether the user's release lands on the message box or the whole click
    // on the button.
    void aClickThatBringsAMessageStillRunsItsCommandOnce_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("releaseOnTheBox");
        QTest::addColumn<QString>("question");
        QTest::newRow("Save: press, release on the box") << "SaveBtn" << true << "QFileDialog";
        QTest::newRow("Save: whole click") << "SaveBtn" << false << "QFileDialog";
        QTest::newRow("Kilépés") << "KilepBtn" << false << "Elmentette a változásokat?";
    }
    void aClickThatBringsAMessageStillRunsItsCommandOnce() {
        QFETCH(QString, button);
        QFETCH(bool, releaseOnTheBox);
        QFETCH(QString, question);
        Window window(profiles::zerwa8());
        SettingsPanel* panel = window.form->Panel1;
        ModalCloser closer;
        QTest::mouseClick(panel->Edit1, Qt::LeftButton);
        QTest::keyClicks(panel->Edit1, QStringLiteral("5"));
        auto* target = window.form->findChild<QPushButton*>(button);
        if (releaseOnTheBox)
            QTest::mousePress(target, Qt::LeftButton);
        else
            QTest::mouseClick(target, Qt::LeftButton);
        QTRY_COMPARE(closer.seen.size(), 2);
        QTest::qWait(200); // and nothing after it
        QCOMPARE(closer.seen, QStringList({kLimitRpm, question}));
        QCOMPARE(panel->Edit1->text(), QStringLiteral("3500"));
        QVERIFY(!window.fixture.exitCode());
    }

    // Another window taking the focus, and giving it back, is not leaving the field.
    void anotherWindowIsNotLeavingTheField() {
        Window window(profiles::zerwa8());
        ModalCloser closer;
        QTest::mouseClick(window.form->Panel1->Edit1, Qt::LeftButton);
        QTest::keyClicks(window.form->Panel1->Edit1, QStringLiteral("5"));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        window.fixture.activate();
        QTest::qWait(100);
        QVERIFY(closer.seen.isEmpty() && window.form->Panel1->Edit1->hasFocus());
        QCOMPARE(window.form->Panel1->Edit1->text(), QStringLiteral("5"));
    }

    // A bad setting left by a click on another cell: the message, then the click selects that
    // cell and checks the cell that was left.
    void aCellClickedFromABadSettingIsSelectedAfterTheMessage() {
        Window window(profiles::zerwa8());
        ModalCloser closer;
        clickCell(window.form, {3, 2}); // 2.40 / 850
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("70"));
        QTest::mouseClick(window.form->Panel1->Edit1, Qt::LeftButton);
        QTest::keyClicks(window.form->Panel1->Edit1, QStringLiteral("99999"));
        clickCell(window.form, {5, 7});
        QTRY_COMPARE(closer.seen, QStringList({kLimitRpm, QStringLiteral("zerwa::TEditForm")}));
        QCOMPARE(window.form->Panel1->Edit1->text(), QStringLiteral("3500"));
        QCOMPARE(window.form->table().cell(3, 2), QStringLiteral("12,5"));
        QCOMPARE(window.form->StringGrid1->currentCell(), CellPos({5, 7}));
        QCOMPARE(window.form->rememberedCell(), CellPos({5, 7}));
        // A click into a field that brought a message puts the cursor where it was clicked.
        QLineEdit* opening = window.form->Panel1->Edit2;
        opening->setText(QStringLiteral("1,5"));
        window.fixture.activate(); // back from the boxes
        QTest::mouseClick(window.form->Panel1->Edit1, Qt::LeftButton);
        QTest::keyClicks(window.form->Panel1->Edit1, QStringLiteral("1"));
        QTest::mouseClick(opening, Qt::LeftButton, {}, {opening->width() - 4, 10});
        QTRY_COMPARE(closer.seen.size(), 3);
        QVERIFY(opening->hasFocus() && !opening->hasSelectedText());
        QCOMPARE(opening->cursorPosition(), 3);
    }

    // The silent correction of the closing field is in place, and selected, before the typing
    // reaches it; so is every replacement, however its message box was closed.
    void tabThroughTheSettings_data() {
        QTest::addColumn<int>("way");
        QTest::addColumn<QStringList>("typed");    // before each Tab, then before each Shift+Tab
        QTest::addColumn<QStringList>("selected"); // on entering each field after the first
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("time mode")
            << 0 << QStringList({"5000", "1,5", "3"}) << QStringList({"", "0,5"})
            << QStringList({"5000", "1,5", "3"}) << QStringList();
        QTest::newRow("control mode")
            << 0 << QStringList({"5000", "*", "180"}) << QStringList({"", "50"})
            << QStringList({"5000", "*", "180"}) << QStringList();
        const QStringList bad = {"1", "9", "99", "", "0", "*", "5"};
        const QStringList selected = {"", "0,5", "10", "2", "3500"};
        const QStringList after = {"3500", "*", "50"};
        const QStringList messages = {kLimitRpm, kOpening, kClosingTime, kClosingTime, kLimitRpm};
        QTest::newRow("bad, Escape") << 0 << bad << selected << after << messages;
        QTest::newRow("bad, Enter") << 1 << bad << selected << after << messages;
        QTest::newRow("bad, close button") << 2 << bad << selected << after << messages;
    }
    void tabThroughTheSettings() {
        QFETCH(int, way);
        QFETCH(QStringList, typed);
        QFETCH(QStringList, selected);
        QFETCH(QStringList, after);
        QFETCH(QStringList, messages);
        Window window(profiles::zerwa8());
        SettingsPanel* panel = window.form->Panel1;
        ModalCloser closer{ModalCloser::Way(way)};
        QTest::mouseClick(panel->Edit1, Qt::LeftButton);
        QStringList selectedOnEntry;
        for (int i = 0; i < typed.size(); ++i) {
            typeThen(typed.at(i), i < 3 ? Qt::Key_Tab : Qt::Key_Backtab,
                     i < 3 ? Qt::NoModifier : Qt::ShiftModifier);
            window.fixture.activate(); // back from a box, if there was one
            if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
                selectedOnEntry << (edit->selectedText() == edit->text() ? edit->text() : "?");
        }
        QCOMPARE(QStringList({panel->Edit1->text(), panel->Edit2->text(), panel->Edit3->text()}),
                 after);
        QCOMPARE(selectedOnEntry, selected);
        QCOMPARE(closer.seen, messages);
    }
};

QTEST_MAIN(RealDialogsTest)
#include "realdialogs_test.moc"
