// The settings checks and the grid's cell check with the program's real modal boxes: a box
// opened while the focus moves must not let a field go unchecked, nor swallow the click that
// moved the focus.
#include "mainwindow/qtprompter.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/tform1.h"
#include "model/variantprofiles.h"
#include "support/recordingserialport.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
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

class Window {
public:
    explicit Window(const VariantProfile& profile) {
        AppContext context;
        context.profile = &profile;
        context.prompter = &prompter;
        context.numbers = NumberFormat(u',');
        context.startupDirectory = folder.path();
        context.terminateProcess = [](int) {};
        context.serialPortFactory = [this](const QString&) {
            return std::make_unique<test::RecordingSerialPort>(serial);
        };
        form = std::make_unique<TForm1>(context);
        prompter.setParentWindow(form.get());
        form->show();
        activate();
    }
    void activate() {
        QTest::qWait(50); // the message box has closed
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qFatal("window not active");
    }
    QTemporaryDir folder;
    QtPrompter prompter;
    test::SerialRecorder serial;
    std::unique_ptr<TForm1> form;
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
        panel->Edit1->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(panel->Edit1->hasFocus());
        QTest::keyClick(panel->Edit1, Qt::Key_Tab);
        QTRY_COMPARE(panel->Edit1->text(), QStringLiteral("3500"));
        window.activate(); // the offscreen platform does not give the focus back by itself
        QTRY_VERIFY(panel->Edit2->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(panel->Edit2->text(), QStringLiteral("2"));
        window.activate();
        QTRY_VERIFY(panel->Edit3->hasFocus());
        panel->Edit3->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("11"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(panel->Edit3->text(), QStringLiteral("10"));
        QCOMPARE(closer.seen, QStringList({kLimitRpm, kOpening, kClosingTime}));
    }

    void aClickThatBringsAMessageStillRunsItsCommand() {
        Window window(profiles::zerwa8());
        SettingsPanel* panel = window.form->Panel1;
        ModalCloser closer;
        panel->Edit1->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(panel->Edit1->hasFocus());
        QTest::keyClicks(panel->Edit1, QStringLiteral("5"));
        // The user's release lands on the message box, not on the button.
        QTest::mousePress(window.form->SaveBtn, Qt::LeftButton);
        QTRY_COMPARE(closer.seen.size(), 2);
        QCOMPARE(closer.seen.at(0), kLimitRpm);
        QCOMPARE(closer.seen.at(1), QStringLiteral("QFileDialog"));
        QCOMPARE(panel->Edit1->text(), QStringLiteral("3500"));
    }

    void aWholeClickAfterAMessageRunsItsCommandOnce() {
        Window window(profiles::zerwa8());
        SettingsPanel* panel = window.form->Panel1;
        ModalCloser closer;
        panel->Edit1->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(panel->Edit1->hasFocus());
        QTest::keyClicks(panel->Edit1, QStringLiteral("5"));
        QTest::mouseClick(window.form->SaveBtn, Qt::LeftButton);
        QTest::qWait(200);
        QCOMPARE(closer.seen, QStringList({kLimitRpm, QStringLiteral("QFileDialog")}));
    }
};

QTEST_MAIN(RealDialogsTest)
#include "realdialogs_test.moc"
