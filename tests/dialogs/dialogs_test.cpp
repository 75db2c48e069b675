#include "dialogs/richtextdocument.h"
#include "dialogs/tfuggvenyform.h"
#include "dialogs/thelpform.h"
#include "mainwindow/buttonbars.h"
#include "mainwindow/teditform.h"
#include "support/formfixture.h"
#include "support/programrows.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

using namespace zerwa;
using test::FormFixture;
using test::ProgramFacts;

namespace {

const QString kMissing = QStringLiteral("Nincs meg a Help file!");
// "Első sor" in bold Arial, then "Második".
const QByteArray kHelp = "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset238 Arial;}}"
                         "\\b Els\\'f5 sor\\b0\\par M\\'e1sodik\\par}";

// The widgets that take the focus with Tab, in order, starting at `first`.
QList<QWidget*> tabOrder(QWidget* first) {
    QList<QWidget*> order;
    QWidget* w = first;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w;
        w = w->nextInFocusChain();
    } while (w != first);
    return order;
}

QTextCharFormat formatAt(QTextDocument& document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    // The help button shows the text read once at start; Vissza hides it.
    void helpWindow_data() { test::addProgramRows(); }
    void helpWindow() {
        QFETCH(const ProgramFacts*, program);
        FormFixture fixture(program->profile());
        for (const ProgramFacts& other : test::programFacts())
            test::writeBytes(fixture.pathOf(other.helpFile),
                             other.name == program->name ? kHelp : "x");
        TForm1& form = fixture.start();
        THelpForm help(program->profile(), fixture.folder());
        form.setHelpForm(&help);
        QCOMPARE(help.objectName(), QStringLiteral("HelpForm"));
        QCOMPARE(help.windowTitle(), QStringLiteral("Help"));
        QCOMPARE(help.size(), program->helpWindow);
        QVERIFY(help.RichEdit1->isReadOnly());
        QCOMPARE(help.EndhelpBtn->text(), QStringLiteral("Vissza"));

        QTest::mouseClick(form.HelpBtn, Qt::LeftButton);
        QVERIFY(help.isVisible());
        QVERIFY(!help.isModal());
        QCOMPARE(help.RichEdit1->toPlainText(), QStringLiteral("Első sor\nMásodik"));
        const QTextCharFormat first =
            help.RichEdit1->document()->firstBlock().begin().fragment().charFormat();
        QCOMPARE(first.fontWeight(), int(QFont::Bold));
        QCOMPARE(first.fontFamilies().toStringList(), QStringList({"Arial"}));
        QTest::mouseClick(help.EndhelpBtn, Qt::LeftButton);
        QVERIFY(!help.isVisible());
        QVERIFY(QFile::remove(fixture.pathOf(program->helpFile)));
        QTest::mouseClick(form.HelpBtn, Qt::LeftButton);
        QCOMPARE(help.RichEdit1->toPlainText(), QStringLiteral("Első sor\nMásodik"));

        THelpForm nextStart(program->profile(),
                            fixture.folder()); // another program's file does not count
        QCOMPARE(nextStart.RichEdit1->toPlainText(), kMissing);
        QCOMPARE(nextStart.RichEdit1->document()->blockCount(), 1);
    }

    void richTextKeepsItsFormatting() {
        QTextDocument document;
        richtext::load(document,
                       "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
                       "{\\colortbl;\\red200\\green10\\blue20;}a\\b b\\b0\\i c\\i0\\ul d\\ulnone"
                       "\\strike e\\strike0\\fs40 f\\fs24\\cf1 g\\cf0\\f1 h\\f0\\super i"
                       "\\nosupersub\\sub j\\par\\pard\\qc\\li720\\fi-360\\sb300\\sa150"
                       " k\\line l\\par\\pard\\tx1500\\tx300 m}");
        QCOMPARE(document.toPlainText(), QStringLiteral("abcdefghij\nk\nl\nm"));
        QCOMPARE(formatAt(document, 1).fontWeight(), int(QFont::Bold));
        QVERIFY(formatAt(document, 2).fontItalic());
        QVERIFY(formatAt(document, 3).fontUnderline());
        QVERIFY(formatAt(document, 4).fontStrikeOut());
        QCOMPARE(formatAt(document, 4).fontPointSize(), 12.0);
        QCOMPARE(formatAt(document, 5).fontPointSize(), 20.0);
        QCOMPARE(formatAt(document, 6).foreground().color(), QColor(200, 10, 20));
        QCOMPARE(formatAt(document, 7).fontFamilies().toStringList(), QStringList({"Courier New"}));
        QCOMPARE(formatAt(document, 8).verticalAlignment(), QTextCharFormat::AlignSuperScript);
        QCOMPARE(formatAt(document, 9).verticalAlignment(), QTextCharFormat::AlignSubScript);
        const QTextBlockFormat k = document.firstBlock().next().blockFormat();
        QCOMPARE(k.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(QList<qreal>({k.leftMargin(), k.textIndent(), k.topMargin(), k.bottomMargin()}),
                 QList<qreal>({48, -24, 20, 10})); // twips to pixels at 96 dpi
        const QList<QTextOption::Tab> stops = document.lastBlock().blockFormat().tabPositions();
        QCOMPARE(QList<qreal>({stops.value(0).position, stops.value(1).position}),
                 QList<qreal>({20, 100}));
    }

    void fileThatIsNotRichTextIsShownAsText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("windows-1250")
            << QByteArray("\xF5r \xFCl\r\n{\\b k\xE9t}") << "őr ül\n{\\b két}";
        QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF\xC5\x91r") << "őr";
        QTest::newRow("control characters") << QByteArray("a\0b\x07\tc\x7F", 7) << "ab\tc";
    }
    void fileThatIsNotRichTextIsShownAsText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        FormFixture fixture(profiles::zerwa4());
        test::writeBytes(fixture.pathOf("Helpv4.rtf"), bytes);
        THelpForm help(profiles::zerwa4(), fixture.folder());
        QCOMPARE(help.RichEdit1->toPlainText(), text);
    }

    void slopeFillDialogAsDesigned() {
        test::ScriptedPrompter prompter;
        TFuggvenyForm form(prompter, NumberFormat(u','));
        QCOMPARE(form.windowTitle(), QStringLiteral("Függvény"));
        QCOMPARE(form.size(), QSize(344, 121));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(QList<QRect>({form.Panel1->geometry(), form.LEEmelkedes->geometry(),
                               form.LELepes->geometry(), form.BtnOk->geometry(),
                               form.BtnCancel->geometry()}),
                 QList<QRect>({{8, 8, 330, 106},
                               {16, 24, 121, 21},
                               {192, 24, 121, 21},
                               {216, 64, 75, 25},
                               {48, 64, 75, 25}}));
        QCOMPARE(
            QStringList({form.EmelkedesLabel->text(), form.LepesLabel->text(), form.BtnOk->text()}),
            QStringList({"Emelkedés", "Lépés", "OK"}));
        QCOMPARE(form.EmelkedesLabel->geometry().bottom() + 1 + 3, 24); // above, spacing 3
        QVERIFY(form.BtnOk->isDefault());
        QCOMPARE(tabOrder(form.LEEmelkedes),
                 QList<QWidget*>({form.LEEmelkedes, form.LELepes, form.BtnOk, form.BtnCancel}));
    }

    // OK accepts only valid entries; a refusal keeps the dialog open; the fields are empty at
    // every show.
    void slopeFillDialogEntries_data() {
        QTest::addColumn<QString>("slope");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("valid") << "-8,9"
                               << "100" << true;
        QTest::newRow("slope 9") << "9"
                                 << "3" << false;
        QTest::newRow("text slope") << "abc"
                                    << "3" << false;
        QTest::newRow("steps 0") << "1"
                                 << "0" << false;
        QTest::newRow("fractional steps") << "1"
                                          << "1,5" << false;
    }
    void slopeFillDialogEntries() {
        QFETCH(QString, slope);
        QFETCH(QString, steps);
        QFETCH(bool, accepted);
        test::ScriptedPrompter prompter;
        TFuggvenyForm form(prompter, NumberFormat(u','));
        QString focused;
        bool openAfterOk = false;
        QTimer::singleShot(0, &form, [&] {
            focused = form.focusWidget() ? form.focusWidget()->objectName() : QString();
            QTest::keyClicks(form.LEEmelkedes, slope);
            QTest::keyClicks(form.LELepes, steps);
            QTest::keyClick(form.LELepes, Qt::Key_Return); // OK is the default button
            openAfterOk = form.isVisible();
            if (openAfterOk)
                QTest::keyClick(&form, Qt::Key_Escape);
        });
        const auto entries = form.askEntries();
        QCOMPARE(focused, QStringLiteral("LEEmelkedes"));
        QCOMPARE(bool(entries), accepted);
        QCOMPARE(openAfterOk, !accepted);
        QCOMPARE(prompter.messages(),
                 accepted
                     ? QStringList()
                     : QStringList({"Hibás értéket adott meg, az emelkedés -8 -tól +8-ig, \n a "
                                    "lépés 1 - 60 -ig elfogadott."}));
        if (entries)
            QCOMPARE(QStringList({entries->slope, entries->steps}), QStringList({slope, steps}));
        QStringList fieldsAtShow;
        QTimer::singleShot(0, &form, [&] {
            fieldsAtShow << form.LEEmelkedes->text() << form.LELepes->text();
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        QVERIFY(!form.askEntries());
        QCOMPARE(fieldsAtShow, QStringList({"", ""}));
    }

    void correctionDialog_data() {
        QTest::addColumn<bool>("centred");
        QTest::newRow("fixed") << false;
        QTest::newRow("centred") << true;
    }
    void correctionDialog() {
        QFETCH(bool, centred);
        QWidget window;
        window.setGeometry(100, 100, 720, 500);
        window.show();
        TEditForm form(centred, &window);
        QCOMPARE(form.windowTitle(), QStringLiteral("EditForm"));
        QVERIFY(!(form.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.StaticText1->size(), QSize(280, 40));
        QVERIFY(form.BitBtn1->isDefault());
        QCOMPARE(tabOrder(form.BitBtn1).mid(0, 2), QList<QWidget*>({form.BitBtn1, form.Edit1}));
        QStringList shown;
        QTimer::singleShot(0, &form, [&] {
            shown << (form.focusWidget() ? form.focusWidget()->objectName() : QString())
                  << form.StaticText1->text() << form.Edit1->text();
            form.Edit1->setText("12,5");
            QTest::keyClick(form.BitBtn1, Qt::Key_Return);
        });
        QCOMPARE(form.askValue("Az érték 0,5 - 63,5 közötti szám!", "abc"), QStringLiteral("12,5"));
        QCOMPARE(shown, QStringList({"BitBtn1", "Az érték 0,5 - 63,5 közötti szám!", "abc"}));
        const QPoint offset = form.frameGeometry().center() - window.frameGeometry().center();
        QCOMPARE(offset.manhattanLength() <= 4, centred);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
