#include "link/serialport.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/portchooserpanel.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"
#include "support/profilerows.h"
#include "support/testfiles.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

using namespace zerwa;
using zerwa::test::FormFixture;

namespace {

PortChooserPanel* chooser(TForm1& form) {
    return form.Panel3->Panel5;
}

// Picks `text` in the chooser and confirms, as the user would.
void choosePort(TForm1& form, const QString& text) {
    form.ComBtnClick();
    QComboBox* list = chooser(form)->ComboBox2;
    list->setCurrentIndex(list->findText(text));
    QTest::mouseClick(chooser(form)->ComOkBtn, Qt::LeftButton);
}

const QByteArray kAbsent = "<absent>";

QByteArray contentOf(const QString& path) {
    return QFileInfo::exists(path) ? test::readBytes(path) : kAbsent;
}

} // namespace

class PortChooserTest : public QObject {
    Q_OBJECT

private slots:
    void chooserCoversTheCommandBar() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.LetoltBtn->setEnabled(true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!chooser(form)->isVisible());

        QTest::mouseClick(form.ComBtn, Qt::LeftButton);
        QVERIFY(chooser(form)->isVisible());
        QCOMPARE(chooser(form)->geometry(), form.Panel3->rect());
        for (QPushButton* button : {form.KilepBtn, form.LetoltBtn, form.ComBtn})
            QVERIFY2(!button->isVisible(), qPrintable(button->text()));
        QCOMPARE(QApplication::focusWidget(), chooser(form)->ComboBox2);
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com1")); // showing changes nothing else

        chooser(form)->ComboBox2->setCurrentIndex(2);
        QTest::mouseClick(chooser(form)->ComOkBtn, Qt::LeftButton);
        QVERIFY(!chooser(form)->isVisible());
        for (QPushButton* button : {form.KilepBtn, form.LetoltBtn, form.ComBtn})
            QVERIFY(button->isVisible());
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com3"));
        QCOMPARE(form.portNumber(), 3);
        QCOMPARE(form.MSComm1->selectedPort(), 3);
        QVERIFY(form.LetoltBtn->isEnabled()); // the port never touches the download button
        QVERIFY(fixture.prompter().records().isEmpty());
    }

    void enterConfirms() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        form.ComBtnClick();
        chooser(form)->ComboBox2->setCurrentIndex(11);
        QTest::keyClick(chooser(form)->ComboBox2, Qt::Key_Return);
        QVERIFY(chooser(form)->isHidden());
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com12"));
        QCOMPARE(form.portNumber(), 12);
    }

    void confirmationUpdatesOnlyItsFile_data() {
        QTest::addColumn<const VariantProfile*>("profile");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QByteArray>("after");
        const VariantProfile* z8 = &profiles::zerwa8();
        const VariantProfile* z4 = &profiles::zerwa4();
        const VariantProfile* z60 = &profiles::zerwa4_60();
        QTest::newRow("zerwa4 one line") << z4 << "Edit.txt" << QByteArray("C:\\a.qmt\r\n") << "3"
                                         << QByteArray("C:\\a.qmt\r\n3\r\n");
        QTest::newRow("zerwa4 two lines")
            << z4 << "Edit.txt" << QByteArray("a\r\n1\r\n") << "4" << QByteArray("a\r\n4\r\n");
        QTest::newRow("zerwa8 three lines") << z8 << "Edit.txt" << QByteArray("a\r\n1\r\nc\r\n")
                                            << "2" << QByteArray("a\r\n2\r\nc\r\n");
        QTest::newRow("zerwa8 LF only")
            << z8 << "Edit.txt" << QByteArray("a\n1\n") << "2" << QByteArray("a\r\n2\r\n");
        QTest::newRow("zerwa8 empty") << z8 << "Edit.txt" << QByteArray() << "2" << QByteArray();
        QTest::newRow("zerwa8 no file") << z8 << "Edit.txt" << kAbsent << "2" << kAbsent;
        QTest::newRow("zerwa4_60 one line") << z60 << "Editv4_60.txt" << QByteArray("x.qmt\r\n")
                                            << "16" << QByteArray("x.qmt\r\n16\r\n");
        QTest::newRow("zerwa4_60 two lines")
            << z60 << "Editv4_60.txt" << QByteArray("x.qmt\r\n2\r\n") << "16"
            << QByteArray("x.qmt\r\n16\r\n");
        QTest::newRow("zerwa4_60 three lines")
            << z60 << "Editv4_60.txt" << QByteArray("x.qmt\r\n2\r\nharmadik\r\n") << "9"
            << QByteArray("x.qmt\r\n9\r\nharmadik\r\n");
        QTest::newRow("zerwa4_60 no file") << z60 << "Editv4_60.txt" << kAbsent << "5" << kAbsent;
    }
    void confirmationUpdatesOnlyItsFile() {
        QFETCH(const VariantProfile*, profile);
        QFETCH(QString, file);
        QFETCH(QByteArray, before);
        QFETCH(QString, port);
        QFETCH(QByteArray, after);
        FormFixture fixture(*profile);
        if (before != kAbsent)
            test::writeBytes(fixture.pathOf(file), before);
        // zerwa8 and zerwa4 keep their working file as it is until the next save.
        const bool ownWorkingFile = file != profile->workingFileName;
        if (ownWorkingFile)
            test::writeBytes(fixture.pathOf(profile->workingFileName), "m.qmt\r\n1\r\n");
        TForm1& form = fixture.start();
        fixture.prompter().clear(); // the named map may be missing

        choosePort(form, port);
        QCOMPARE(contentOf(fixture.pathOf(file)), after);
        if (ownWorkingFile)
            QCOMPARE(contentOf(fixture.pathOf(profile->workingFileName)),
                     QByteArray("m.qmt\r\n1\r\n"));
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com") + port);
        QCOMPARE(form.portNumber(), port.toInt());
        QVERIFY(fixture.prompter().records().isEmpty());
    }

    void nextStartShowsThePortOfZerwa4_60() {
        FormFixture fixture(profiles::zerwa4_60());
        test::writeBytes(fixture.pathOf("Editv4_60.txt"), "x.qmt\r\n2\r\n");
        TForm1& form = fixture.start();
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com2"));
        choosePort(form, QStringLiteral("16"));
        QCOMPARE(test::readBytes(fixture.pathOf("Editv4_60.txt")), QByteArray("x.qmt\r\n16\r\n"));

        TForm1& next = fixture.restart();
        QCOMPARE(next.ComBtn->text(), QStringLiteral("Com16"));
        QCOMPARE(next.portNumber(), 16);
        QCOMPARE(next.MSComm1->selectedPort(), 16);
        QCOMPARE(chooser(next)->ComboBox2->currentText(), QStringLiteral("16"));
    }

    void zerwa8ForgetsAnUnsavedChoiceAtTheNextStart() {
        FormFixture fixture(profiles::zerwa8());
        test::writeBytes(fixture.pathOf("Edit.txt"), "e\r\n1\r\n");
        TForm1& form = fixture.start();
        choosePort(form, QStringLiteral("3"));
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com3"));
        TForm1& next = fixture.restart(); // no working file: the start port
        QCOMPARE(next.ComBtn->text(), QStringLiteral("Com1"));
        QCOMPARE(next.portNumber(), 1);
    }

    void restoreReadsLineTwo_data() {
        QTest::addColumn<const VariantProfile*>("profile");
        QTest::addColumn<QByteArray>("workingFile");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("listIndex");
        const VariantProfile* z8 = &profiles::zerwa8();
        const VariantProfile* z4 = &profiles::zerwa4();
        const VariantProfile* z60 = &profiles::zerwa4_60();
        QTest::newRow("no file") << z4 << kAbsent << "Com1" << 1 << 0;
        QTest::newRow("no file zerwa4_60") << z60 << kAbsent << "Com1" << 1 << -1;
        QTest::newRow("empty") << z8 << QByteArray() << "Com1" << 1 << 0;
        QTest::newRow("one line") << z4 << QByteArray("x.qmt\r\n") << "Com1" << 1 << 0;
        QTest::newRow("port 3") << z8 << QByteArray("x.qmt\r\n3\r\n") << "Com3" << 3 << 2;
        QTest::newRow("port 4, CR only") << z4 << QByteArray("x.qmt\r4\r") << "Com4" << 4 << 3;
        QTest::newRow("port 16") << z60 << QByteArray("x.qmt\r\n16\r\nz\r\n") << "Com16" << 16
                                 << 15;
        QTest::newRow("no such item") << z4 << QByteArray("x.qmt\r\n7\r\n") << "Com1" << 1 << 0;
        QTest::newRow("empty line zerwa4_60")
            << z60 << QByteArray("x.qmt\r\n\r\n") << "Com1" << 1 << -1;
        QTest::newRow("blank before") << z4 << QByteArray("x.qmt\r\n 2\r\n") << "Com1" << 1 << 0;
        QTest::newRow("not a number")
            << z60 << QByteArray("x.qmt\r\nCOM2\r\n") << "Com1" << 1 << -1;
    }
    void restoreReadsLineTwo() {
        QFETCH(const VariantProfile*, profile);
        QFETCH(QByteArray, workingFile);
        QFETCH(QString, caption);
        QFETCH(int, port);
        QFETCH(int, listIndex);
        FormFixture fixture(*profile);
        if (workingFile != kAbsent)
            test::writeBytes(fixture.pathOf(profile->workingFileName), workingFile);
        TForm1& form = fixture.start();
        QCOMPARE(form.ComBtn->text(), caption);
        QCOMPARE(form.portNumber(), port);
        QCOMPARE(form.MSComm1->selectedPort(), port);
        QCOMPARE(chooser(form)->ComboBox2->currentIndex(), listIndex);
        QCOMPARE(fixture.serial().count(test::SerialRecorder::Op::Open), 0);
    }

    void confirmingWithoutAChoiceKeepsEverything() {
        FormFixture fixture(profiles::zerwa4_60());
        test::writeBytes(fixture.pathOf("Editv4_60.txt"), "x.qmt\r\n3\r\n");
        TForm1& form = fixture.start();
        chooser(form)->ComboBox2->setCurrentIndex(-1);
        fixture.prompter().clear();

        form.ComBtnClick();
        QTest::mouseClick(chooser(form)->ComOkBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().messages(), QStringList({"Kérem válasszon portot!"}));
        QCOMPARE(test::readBytes(fixture.pathOf("Editv4_60.txt")), QByteArray("x.qmt\r\n3\r\n"));
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com3"));
        QCOMPARE(form.portNumber(), 3);
        QVERIFY(!chooser(form)->isHidden()); // still open for a choice

        TForm1& next = fixture.restart();
        QCOMPARE(next.ComBtn->text(), QStringLiteral("Com3"));
    }

    void aFileThatCannotBeWrittenIsReportedAfterThePortIsApplied() {
        FormFixture fixture(profiles::zerwa4());
        QVERIFY(QDir(fixture.folder()).mkdir(QStringLiteral("Edit.txt")));
        TForm1& form = fixture.start();
        choosePort(form, QStringLiteral("2"));
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com2"));
        QCOMPARE(form.portNumber(), 2);
        QVERIFY(chooser(form)->isHidden());
        const QStringList messages = fixture.prompter().messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().startsWith(QStringLiteral("Nem tudom elmenteni a port számát!\n") +
                                            fixture.pathOf(QStringLiteral("Edit.txt"))));
    }
};

QTEST_MAIN(PortChooserTest)
#include "portchooser_test.moc"
