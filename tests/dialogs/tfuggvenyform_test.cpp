#include "dialogs/tfuggvenyform.h"
#include "support/scriptedprompter.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zerwa;

namespace {

const QString kRefusal = QStringLiteral(
    "Hibás értéket adott meg, az emelkedés -8 -tól +8-ig, \n a lépés 1 - 60 -ig elfogadott.");

// Runs `whileShown` once the dialog is up, then returns what askEntries returned.
std::optional<SlopeFillEntries> runDialog(TFuggvenyForm& form,
                                          const std::function<void()>& whileShown) {
    QTimer::singleShot(0, &form, whileShown);
    return form.askEntries();
}

void type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

} // namespace

class TFuggvenyFormTest : public QObject {
    Q_OBJECT

private slots:
    void looksAsDesigned() {
        test::ScriptedPrompter prompter;
        TFuggvenyForm form(prompter, NumberFormat(u','));
        QCOMPARE(form.windowTitle(), QStringLiteral("Függvény"));
        QCOMPARE(form.size(), QSize(344, 121));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.Panel1->geometry(), QRect(8, 8, 330, 106));
        QCOMPARE(form.LEEmelkedes->geometry(), QRect(16, 24, 121, 21));
        QCOMPARE(form.LELepes->geometry(), QRect(192, 24, 121, 21));
        QCOMPARE(form.BtnOk->geometry(), QRect(216, 64, 75, 25));
        QCOMPARE(form.BtnCancel->geometry(), QRect(48, 64, 75, 25));
        QCOMPARE(form.EmelkedesLabel->text(), QStringLiteral("Emelkedés"));
        QCOMPARE(form.LepesLabel->text(), QStringLiteral("Lépés"));
        QCOMPARE(form.EmelkedesLabel->geometry().bottom() + 1 + 3, 24); // label above, spacing 3
        QCOMPARE(form.BtnOk->text(), QStringLiteral("OK"));
        QVERIFY(form.BtnOk->isDefault());
        QVERIFY(!form.BtnCancel->text().isEmpty());
        // Tab order: slope, steps, OK, Cancel.
        QList<QWidget*> order;
        QWidget* w = form.LEEmelkedes;
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                order << w;
            w = w->nextInFocusChain();
        } while (w != form.LEEmelkedes);
        QCOMPARE(order,
                 QList<QWidget*>({form.LEEmelkedes, form.LELepes, form.BtnOk, form.BtnCancel}));
    }

    void acceptsValidEntries() {
        test::ScriptedPrompter prompter;
        TFuggvenyForm form(prompter, NumberFormat(u','));
        QString focusAtShow;
        const auto entries = runDialog(form, [&] {
            focusAtShow = form.focusWidget() ? form.focusWidget()->objectName() : QString();
            type(form.LEEmelkedes, QStringLiteral("-8,9"));
            type(form.LELepes, QStringLiteral("100"));
            QTest::keyClick(form.LELepes, Qt::Key_Return); // OK is the default button
        });
        QVERIFY(entries);
        QCOMPARE(entries->slope, QStringLiteral("-8,9"));
        QCOMPARE(entries->steps, QStringLiteral("100"));
        QCOMPARE(focusAtShow, QStringLiteral("LEEmelkedes"));
        QVERIFY(prompter.records().isEmpty());
    }

    void refusesAndStaysOpen_data() {
        QTest::addColumn<QString>("slope");
        QTest::addColumn<QString>("steps");
        QTest::newRow("slope 9") << "9"
                                 << "3";
        QTest::newRow("slope -9") << "-9"
                                  << "3";
        QTest::newRow("empty slope") << ""
                                     << "3";
        QTest::newRow("text slope") << "abc"
                                    << "3";
        QTest::newRow("steps 0") << "1"
                                 << "0";
        QTest::newRow("negative steps") << "1"
                                        << "-1";
        QTest::newRow("empty steps") << "1"
                                     << "";
        QTest::newRow("fractional steps") << "1"
                                          << "1,5";
    }
    void refusesAndStaysOpen() {
        QFETCH(QString, slope);
        QFETCH(QString, steps);
        test::ScriptedPrompter prompter;
        TFuggvenyForm form(prompter, NumberFormat(u','));
        bool openAfterRefusal = false;
        QString slopeAfterRefusal;
        const auto entries = runDialog(form, [&] {
            type(form.LEEmelkedes, slope);
            type(form.LELepes, steps);
            QTest::mouseClick(form.BtnOk, Qt::LeftButton);
            openAfterRefusal = form.isVisible();
            slopeAfterRefusal = form.LEEmelkedes->text();
            QTest::mouseClick(form.BtnCancel, Qt::LeftButton);
        });
        QVERIFY(!entries);
        QVERIFY(openAfterRefusal);
        QCOMPARE(slopeAfterRefusal, slope);
        QCOMPARE(prompter.messages(), QStringList({kRefusal}));
    }

    void escapeCancelsAndTheNextShowIsEmpty() {
        test::ScriptedPrompter prompter;
        TFuggvenyForm form(prompter, NumberFormat(u','));
        const auto first = runDialog(form, [&] {
            type(form.LEEmelkedes, QStringLiteral("12"));
            type(form.LELepes, QStringLiteral("3"));
            QTest::mouseClick(form.BtnOk, Qt::LeftButton); // refused
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        QVERIFY(!first);
        QStringList fieldsAtShow;
        const auto second = runDialog(form, [&] {
            fieldsAtShow << form.LEEmelkedes->text() << form.LELepes->text();
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        QVERIFY(!second);
        QCOMPARE(fieldsAtShow, QStringList({"", ""}));
    }
};

QTEST_MAIN(TFuggvenyFormTest)
#include "tfuggvenyform_test.moc"
