#include "dialogs/thelpform.h"
#include "mainwindow/mapgrid.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"
#include "support/profilerows.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

using namespace zerwa;
using zerwa::test::addProfileRows;
using zerwa::test::FormFixture;
using zerwa::test::yValues;

namespace {

const QString kMissing = QStringLiteral("Nincs meg a Help file!");

// A small help file in the programs' code page: "Első sor" in bold, then "Második".
const QByteArray kHelpA = "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset238 Arial;}}"
                          "\\b Els\\'f5 sor\\b0\\par M\\'e1sodik\\par}";
const QByteArray kHelpB = "{\\rtf1\\ansi\\ansicpg1250 M\\'e1s sz\\'f6veg\\par}";

} // namespace

class THelpFormTest : public QObject {
    Q_OBJECT

    // The help button of the main window, clicked as the user would.
    static void clickHelp(TForm1& form) { QTest::mouseClick(form.HelpBtn, Qt::LeftButton); }

private slots:
    void windowAsDesigned_data() { addProfileRows(); }
    void windowAsDesigned() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        THelpForm help(*profile, fixture.folder());
        QCOMPARE(help.objectName(), QStringLiteral("HelpForm"));
        QCOMPARE(help.windowTitle(), QStringLiteral("Help"));
        QCOMPARE(help.size(), QSize(profile->helpWindowWidth, profile->helpWindowHeight));
        QVERIFY(help.isWindow());
        QVERIFY(!help.isVisible());
        QVERIFY(!help.isModal());
        QVERIFY(!help.testAttribute(Qt::WA_QuitOnClose));
        QCOMPARE(help.Panel2->objectName(), QStringLiteral("Panel2"));
        QCOMPARE(help.RichEdit1->objectName(), QStringLiteral("RichEdit1"));
        QVERIFY(help.RichEdit1->isReadOnly());
        QVERIFY(!(help.RichEdit1->textInteractionFlags() & Qt::TextEditable));
        QCOMPARE(help.RichEdit1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(help.RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(help.EndhelpBtn->objectName(), QStringLiteral("EndhelpBtn"));
        QCOMPARE(help.EndhelpBtn->text(), QStringLiteral("Vissza"));
    }

    void missingFileShowsTheOneLine_data() { addProfileRows(); }
    void missingFileShowsTheOneLine() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        // Another program's help file does not count.
        for (const VariantProfile* other : profiles::all())
            if (other != profile)
                test::writeBytes(fixture.pathOf(other->helpFileName), kHelpA);
        THelpForm help(*profile, fixture.folder());
        form.setHelpForm(&help);

        clickHelp(form);
        QVERIFY(help.isVisible());
        QCOMPARE(help.RichEdit1->toPlainText(), kMissing);
        QCOMPARE(help.RichEdit1->document()->blockCount(), 1);
        QVERIFY(fixture.prompter().records().isEmpty());
    }

    void aFolderInPlaceOfTheFileCountsAsMissing() {
        FormFixture fixture(profiles::zerwa8());
        QVERIFY(QDir(fixture.folder()).mkdir(QStringLiteral("Helpv8.rtf")));
        THelpForm help(profiles::zerwa8(), fixture.folder());
        QCOMPARE(help.RichEdit1->toPlainText(), kMissing);
    }

    void unreadableFileCountsAsMissing() {
        FormFixture fixture(profiles::zerwa4());
        const QString path = fixture.pathOf(QStringLiteral("Helpv4.rtf"));
        test::writeBytes(path, kHelpA);
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("this user can read any file (root)");
        THelpForm help(profiles::zerwa4(), fixture.folder());
        QCOMPARE(help.RichEdit1->toPlainText(), kMissing);
    }

    void textIsReadOnceAtStart_data() { addProfileRows(); }
    void textIsReadOnceAtStart() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        const QString path = fixture.pathOf(profile->helpFileName);
        test::writeBytes(path, kHelpA);
        TForm1& form = fixture.start();
        THelpForm help(*profile, fixture.folder());
        form.setHelpForm(&help);

        clickHelp(form);
        QVERIFY(help.isVisible());
        QCOMPARE(help.RichEdit1->toPlainText(), QStringLiteral("Első sor\nMásodik"));

        QTest::mouseClick(help.EndhelpBtn, Qt::LeftButton);
        QVERIFY(!help.isVisible());

        test::writeBytes(path, kHelpB);
        clickHelp(form);
        QVERIFY(help.isVisible());
        QCOMPARE(help.RichEdit1->toPlainText(), QStringLiteral("Első sor\nMásodik"));

        QTest::mouseClick(help.EndhelpBtn, Qt::LeftButton);
        QVERIFY(QFile::remove(path));
        clickHelp(form);
        QCOMPARE(help.RichEdit1->toPlainText(), QStringLiteral("Első sor\nMásodik"));
    }

    void fileAddedLaterShowsOnlyAtTheNextStart() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        THelpForm help(profiles::zerwa4_60(), fixture.folder());
        form.setHelpForm(&help);
        test::writeBytes(fixture.pathOf(QStringLiteral("Helpv4_60.rtf")), kHelpB);
        clickHelp(form);
        QCOMPARE(help.RichEdit1->toPlainText(), kMissing);

        THelpForm nextStart(profiles::zerwa4_60(), fixture.folder());
        QCOMPARE(nextStart.RichEdit1->toPlainText(), QStringLiteral("Más szöveg"));
    }

    void richTextKeepsItsFormatting() {
        FormFixture fixture(profiles::zerwa8());
        test::writeBytes(fixture.pathOf(QStringLiteral("Helpv8.rtf")), kHelpA);
        THelpForm help(profiles::zerwa8(), fixture.folder());
        const QTextBlock first = help.RichEdit1->document()->firstBlock();
        const QTextCharFormat bold = first.begin().fragment().charFormat();
        QCOMPARE(bold.fontWeight(), int(QFont::Bold));
        QCOMPARE(bold.fontFamilies().toStringList(), QStringList({"Arial"}));
        const QTextCharFormat plain = first.next().begin().fragment().charFormat();
        QCOMPARE(plain.fontWeight(), int(QFont::Normal));
        // The viewer opens at the top of the text.
        QCOMPARE(help.RichEdit1->textCursor().position(), 0);
    }

    void fileThatIsNotRichTextIsShownAsText() {
        FormFixture fixture(profiles::zerwa4());
        test::writeBytes(fixture.pathOf(QStringLiteral("Helpv4.rtf")),
                         "Ez nem RTF: \xF5r\xFClt sor\r\n{\\b m\xE1sodik}\r\n");
        THelpForm help(profiles::zerwa4(), fixture.folder());
        QCOMPARE(help.RichEdit1->toPlainText(),
                 QStringLiteral("Ez nem RTF: őrült sor\n{\\b második}\n"));
    }

    void mainWindowKeepsWorkingWhileHelpIsOpen() {
        FormFixture fixture(profiles::zerwa4());
        test::writeBytes(fixture.pathOf(QStringLiteral("Helpv4.rtf")), kHelpA);
        TForm1& form = fixture.start();
        THelpForm help(profiles::zerwa4(), fixture.folder());
        form.setHelpForm(&help);
        form.show();
        clickHelp(form);
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        // Commands of the main window run while help stays open.
        QTest::mouseClick(form.EditBtn, Qt::LeftButton);
        QVERIFY(form.axisEditMode());
        fixture.prompter().answerYesNo(false);
        QTest::mouseClick(form.KilepBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().texts(test::ScriptedPrompter::Kind::YesNo),
                 QStringList({"Elmentette a változásokat?"}));
        QVERIFY(help.isVisible());

        // Asking again only brings the same window forward, also from the task bar.
        help.setWindowState(Qt::WindowMinimized);
        clickHelp(form);
        QVERIFY(help.isVisible());
        QVERIFY(!(help.windowState() & Qt::WindowMinimized));
        QCOMPARE(help.RichEdit1->toPlainText(), QStringLiteral("Első sor\nMásodik"));

        // Help left open does not keep the program running once the main window is closed.
        QTimer::singleShot(0, &form, [&form] { form.close(); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // it did keep it
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void resizingStretchesTheViewerAndKeepsVisszaAtTheBottom() {
        FormFixture fixture(profiles::zerwa8());
        THelpForm help(profiles::zerwa8(), fixture.folder());
        help.showHelp();
        QVERIFY(QTest::qWaitForWindowExposed(&help));

        auto measure = [&help] {
            QApplication::processEvents();
            const QRect viewer = help.RichEdit1->geometry();
            const QRect button = help.EndhelpBtn->geometry();
            const QRect panel = help.Panel2->geometry();
            return std::tuple{viewer, button, panel};
        };
        const auto [viewer0, button0, panel0] = measure();
        // The panel fills nearly the whole window; the button sits under the viewer.
        QVERIFY(panel0.width() > help.width() - 20 && panel0.height() > help.height() - 20);
        QVERIFY(button0.top() > viewer0.bottom());

        for (const QSize size : {QSize(1000, 700), QSize(500, 300), QSize(790, 560)}) {
            help.resize(size);
            const auto [viewer, button, panel] = measure();
            const QSize grown = size - QSize(790, 560);
            QCOMPARE(viewer.size(), viewer0.size() + grown);
            QCOMPARE(viewer.topLeft(), viewer0.topLeft());
            QCOMPARE(panel.size(), panel0.size() + grown);
            QCOMPARE(button.size(), button0.size());
            QCOMPARE(panel.height() - button.bottom(), panel0.height() - button0.bottom());
            QVERIFY(qAbs(button.center().x() - panel.width() / 2) <= 1);
        }
    }

    void hugeHelpFileOpensQuicklyAndIsKeptSmall() {
        FormFixture fixture(profiles::zerwa8());
        // Past the reading limit, with a format change every few bytes.
        QByteArray content = "{\\rtf1 ";
        while (content.size() < THelpForm::kMaxHelpFileBytes + 1024)
            content += "\\b x\\b0 y\\par ";
        test::writeBytes(fixture.pathOf(QStringLiteral("Helpv8.rtf")), content);
        QElapsedTimer timer;
        timer.start();
        THelpForm help(profiles::zerwa8(), fixture.folder());
        help.showHelp();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(help.RichEdit1->document()->blockCount(), 25000); // two runs a paragraph
        QVERIFY(help.RichEdit1->document()->firstBlock().text() == QStringLiteral("xy"));
    }

    void danglingLinkCountsAsMissing() {
        FormFixture fixture(profiles::zerwa4_60());
        QVERIFY(QFile::link(fixture.pathOf(QStringLiteral("gone.rtf")),
                            fixture.pathOf(QStringLiteral("Helpv4_60.rtf"))));
        THelpForm help(profiles::zerwa4_60(), fixture.folder());
        QCOMPARE(help.RichEdit1->toPlainText(), kMissing);
    }

    void linkedHelpFileIsRead() {
        FormFixture fixture(profiles::zerwa4_60());
        test::writeBytes(fixture.pathOf(QStringLiteral("shipped.rtf")), kHelpB);
        QVERIFY(QFile::link(fixture.pathOf(QStringLiteral("shipped.rtf")),
                            fixture.pathOf(QStringLiteral("Helpv4_60.rtf"))));
        THelpForm help(profiles::zerwa4_60(), fixture.folder());
        QCOMPARE(help.RichEdit1->toPlainText(), QStringLiteral("Más szöveg"));
    }

    void helpButtonWithoutHelpWindowDoesNothing() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        clickHelp(form);
        QVERIFY(fixture.prompter().records().isEmpty());
    }
};

QTEST_MAIN(THelpFormTest)
#include "thelpform_test.moc"
