// SPDX-License-Identifier: GPL-3.0-or-later
// The settings checks and the grid's cell check with the program's real modal boxes: a box
// opened while the focus moves must not let a field go unchecked, nor swallow the click that
// moved the focus.
#include "core/model/variantprofiles.h"
#include "gui/mainwindow/qtprompter.h"
#include "gui/mainwindow/settingspanel.h"
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
// text, any other dialog by its class.
class ModalCloser : public QObject {
public:
    ModalCloser() {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = qobject_cast<QDialog*>(modal);
            if (!dialog || !dialog->isVisible())
                return;
            const auto* box = qobject_cast<QMessageBox*>(dialog);
            seen << (box ? box->text() : QString::fromLatin1(dialog->metaObject()->className()));
            dialog->done(QDialog::Rejected);
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

} // namespace

class RealDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void theFieldThatGetsTheFocusAfterAMessageIsStillChecked() {
        Window window(profiles::zerwa8());
        SettingsPanel* panel = window.form->Panel1;
        ModalCloser closer;
        // Once the box has closed: offscreen, the focus does not come back by itself.
        auto backFromTheBox = [&] { QTest::qWait(50), window.fixture.activate(); };
        panel->Edit1->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(panel->Edit1->hasFocus());
        QTest::keyClick(panel->Edit1, Qt::Key_Tab);
        QTRY_COMPARE(panel->Edit1->text(), QStringLiteral("3500"));
        backFromTheBox();
        QTRY_VERIFY(panel->Edit2->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(panel->Edit2->text(), QStringLiteral("2"));
        backFromTheBox();
        QTRY_VERIFY(panel->Edit3->hasFocus());
        panel->Edit3->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("11"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(panel->Edit3->text(), QStringLiteral("10"));
        QCOMPARE(closer.seen, QStringList({kLimitRpm, kOpening, kClosingTime}));
    }

    // A click on Save with a bad value in the field: one message, then Save's file dialog,
    // whether the user's release lands on the message box or the whole click on the button.
    void aClickThatBringsAMessageStillRunsItsCommandOnce_data() {
        QTest::addColumn<bool>("releaseOnTheBox");
        QTest::newRow("press, release on the box") << true;
        QTest::newRow("whole click") << false;
    }
    void aClickThatBringsAMessageStillRunsItsCommandOnce() {
        QFETCH(bool, releaseOnTheBox);
        Window window(profiles::zerwa8());
        SettingsPanel* panel = window.form->Panel1;
        ModalCloser closer;
        panel->Edit1->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(panel->Edit1->hasFocus());
        QTest::keyClicks(panel->Edit1, QStringLiteral("5"));
        if (releaseOnTheBox)
            QTest::mousePress(window.form->SaveBtn, Qt::LeftButton);
        else
            QTest::mouseClick(window.form->SaveBtn, Qt::LeftButton);
        QTRY_COMPARE(closer.seen.size(), 2);
        QTest::qWait(200); // and nothing after it
        QCOMPARE(closer.seen, QStringList({kLimitRpm, QStringLiteral("QFileDialog")}));
        QCOMPARE(panel->Edit1->text(), QStringLiteral("3500"));
    }
};

QTEST_MAIN(RealDialogsTest)
#include "realdialogs_test.moc"
