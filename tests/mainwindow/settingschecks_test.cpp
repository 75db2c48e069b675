#include "mainwindow/settingspanel.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"
#include "support/profilerows.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace zerwa;
using zerwa::test::FormFixture;
using Kind = zerwa::test::ScriptedPrompter::Kind;

namespace {

const QString kOpening = QStringLiteral("       Hibás érték!\nA nyitási idő 0,2 - 2,0 közé eshet!\n"
                                        "Vagy a '*' karakter megengedett!");

} // namespace

class SettingsChecksTest : public QObject {
    Q_OBJECT

    // A shown main window with the settings as given and the focus in `field`.
    static TForm1& startWith(FormFixture& fixture, const QString& edit1, const QString& edit2,
                             const QString& edit3, QLineEdit* TForm1::*unused = nullptr) {
        Q_UNUSED(unused);
        TForm1& form = fixture.start();
        form.Panel1->Edit1->setText(edit1);
        form.Panel1->Edit2->setText(edit2);
        form.Panel1->Edit3->setText(edit3);
        form.show();
        form.activateWindow();
        if (!QTest::qWaitForWindowActive(&form))
            qFatal("window not active");
        return form;
    }

    // Puts the focus into a field, types the text over its content, and tabs out of it.
    static void typeAndTab(QLineEdit* field, const QString& text) {
        field->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(field->hasFocus());
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }

private slots:
    void limitRpm_data() {
        QTest::addColumn<const VariantProfile*>("profile");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("message");
        for (const VariantProfile* p : profiles::all()) {
            const QString message =
                QStringLiteral("       Hibás érték!\nA fordulatszám 600 - %1 közé eshet!")
                    .arg(p->rpmCeiling);
            const QString name = p->programName + QLatin1Char(' ');
            const QString ceiling = QString::number(p->rpmCeiling);
            QTest::newRow(qPrintable(name + "empty")) << p << ""
                                                      << "3500" << message;
            QTest::newRow(qPrintable(name + "600")) << p << "600"
                                                    << "600" << QString();
            QTest::newRow(qPrintable(name + "ceiling")) << p << ceiling << ceiling << QString();
            QTest::newRow(qPrintable(name + "above"))
                << p << QString::number(p->rpmCeiling + 1) << "3500" << message;
            QTest::newRow(qPrintable(name + "point")) << p << "3500.5"
                                                      << "3500" << message;
        }
    }
    void limitRpm() {
        QFETCH(const VariantProfile*, profile);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(QString, message);
        FormFixture fixture(*profile);
        TForm1& form = startWith(fixture, "", "", "");
        QString textWhenShown;
        fixture.prompter().setOnRecord(
            [&](const auto&) { textWhenShown = form.Panel1->Edit1->text(); });

        typeAndTab(form.Panel1->Edit1, typed);

        QCOMPARE(form.Panel1->Edit1->text(), after);
        QCOMPARE(fixture.prompter().messages(),
                 message.isEmpty() ? QStringList() : QStringList({message}));
        if (!message.isEmpty())
            QCOMPARE(textWhenShown, typed);      // the message comes before the replacement
        QVERIFY(form.Panel1->Edit2->hasFocus()); // the user is not held in the field
    }

    void openingAndClosing_data() {
        QTest::addColumn<QString>("field"); // which field is left: "2" or "3"
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QString>("closing");
        QTest::addColumn<QString>("openingAfter");
        QTest::addColumn<QString>("closingAfter");
        QTest::addColumn<QString>("message");
        const QString angle =
            QStringLiteral("       Hibás érték!\nA zárási szög 50 - 510 közé eshet!");
        const QString time =
            QStringLiteral("       Hibás érték!\nA zárási idő 0,5 - 10 közé eshet!");
        QTest::newRow("marker raises closing 3") << "2"
                                                 << "*"
                                                 << "3"
                                                 << "*"
                                                 << "50" << QString();
        QTest::newRow("marker keeps closing 600") << "2"
                                                  << "*"
                                                  << "600"
                                                  << "*"
                                                  << "600" << QString();
        QTest::newRow("1,5 lowers closing 180") << "2"
                                                << "1,5"
                                                << "180"
                                                << "1,5"
                                                << "0,5" << QString();
        QTest::newRow("5 is replaced") << "2"
                                       << "5"
                                       << "3"
                                       << "2"
                                       << "3" << kOpening;
        QTest::newRow("5 then closing") << "2"
                                        << "5"
                                        << "20"
                                        << "2"
                                        << "0,5" << kOpening;
        QTest::newRow("marker with blank") << "2"
                                           << "* "
                                           << "3"
                                           << "2"
                                           << "3" << kOpening;
        QTest::newRow("bounds 0,2 and 0,5") << "2"
                                            << "0,2"
                                            << "0,5"
                                            << "0,2"
                                            << "0,5" << QString();
        QTest::newRow("point is no number") << "2"
                                            << "0.5"
                                            << "1"
                                            << "2"
                                            << "1" << kOpening;
        QTest::newRow("angle 600") << "3"
                                   << "*"
                                   << "600"
                                   << "*"
                                   << "50" << angle;
        QTest::newRow("angle 510") << "3"
                                   << "*"
                                   << "510"
                                   << "*"
                                   << "510" << QString();
        QTest::newRow("time 11") << "3"
                                 << "1"
                                 << "11"
                                 << "1"
                                 << "10" << time;
        QTest::newRow("time 0.5 with point") << "3"
                                             << "1"
                                             << "0.5"
                                             << "1"
                                             << "10" << time;
        QTest::newRow("time 10") << "3"
                                 << "1"
                                 << "10"
                                 << "1"
                                 << "10" << QString();
    }
    void openingAndClosing() {
        QFETCH(QString, field);
        QFETCH(QString, opening);
        QFETCH(QString, closing);
        QFETCH(QString, openingAfter);
        QFETCH(QString, closingAfter);
        QFETCH(QString, message);
        FormFixture fixture(profiles::zerwa8());
        TForm1& form =
            startWith(fixture, "3500", field == "2" ? "" : opening, field == "3" ? "" : closing);
        if (field == "2")
            typeAndTab(form.Panel1->Edit2, opening);
        else
            typeAndTab(form.Panel1->Edit3, closing);
        QCOMPARE(form.Panel1->Edit2->text(), openingAfter);
        QCOMPARE(form.Panel1->Edit3->text(), closingAfter);
        QCOMPARE(fixture.prompter().messages(),
                 message.isEmpty() ? QStringList() : QStringList({message}));
    }

    void aClickOnAButtonChecksBeforeTheCommandRuns() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = startWith(fixture, "", "", "");
        form.Panel1->Edit1->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(form.Panel1->Edit1->hasFocus());
        fixture.prompter().answerYesNo(false);
        QTest::mouseClick(form.KilepBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().records().size(), 2);
        QCOMPARE(fixture.prompter().records().at(0).kind, Kind::Message);
        QCOMPARE(fixture.prompter().records().at(1).kind, Kind::YesNo);
        QCOMPARE(form.Panel1->Edit1->text(), QStringLiteral("3500"));
    }

    void fieldsAreNotCheckedUntilVisited() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = startWith(fixture, "", "", "");
        form.Panel1->ComboBox1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form.Panel1->ComboBox1, Qt::Key_Tab);
        QTRY_VERIFY(form.Panel1->Edit1->hasFocus());
        QVERIFY(fixture.prompter().records().isEmpty());
        // The window losing the focus is not leaving the field.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(fixture.prompter().records().isEmpty());
        QCOMPARE(form.Panel1->Edit1->text(), QString());
    }
};

QTEST_MAIN(SettingsChecksTest)
#include "settingschecks_test.moc"
