// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/tfuggvenyform.h"
#include "gui/dialogs/thelpform.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/mainwindow/programwindows.h"
#include "gui/mainwindow/teditform.h"
#include "gui/support/formfixture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

using namespace zerwa;
using test::FormFixture;
using test::ProgramFacts;

namespace {

const QString kMissing = QStringLiteral("Nincs meg a Help file!");
// A help file with every kind of formatting the viewer shows.
const QByteArray kHelp = "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
                         "{\\colortbl;\\red200\\green10\\blue20;}\\b Els\\'f5\\b0\\i c\\i0\\ul d"
                         "\\ulnone\\strike e\\strike0\\fs40 f\\fs24\\cf1 g\\cf0\\f1 h\\f0\\super i"
                         "\\nosupersub\\sub j\\par\\pard\\qc\\li720\\fi-360\\sb300\\sa150 k\\par"
                         "\\pard\\tx1500\\tx300 M\\'e1sodik\\par}";

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
    // The help button shows the text read once at start; Vissza hides it. A file that does not
    // begin with the rich-text mark is shown as it is: Windows-1250, or UTF-8 after its mark;
    // control characters other than tabs and line ends are left out.
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
        QTextDocument& text = *help.RichEdit1->document();
        QCOMPARE(text.toPlainText(), QStringLiteral("Elsőcdefghij\nk\nMásodik"));
        QCOMPARE(formatAt(text, 0).fontWeight(), int(QFont::Bold));
        QCOMPARE(formatAt(text, 0).fontFamilies().toStringList(), QStringList({"Arial"}));
        QVERIFY(formatAt(text, 4).fontItalic() && formatAt(text, 4).fontWeight() == QFont::Normal);
        QVERIFY(formatAt(text, 5).fontUnderline() && formatAt(text, 6).fontStrikeOut());
        QCOMPARE(
            QList<qreal>({formatAt(text, 6).fontPointSize(), formatAt(text, 7).fontPointSize()}),
            QList<qreal>({12, 20}));
        QCOMPARE(formatAt(text, 8).foreground().color(), QColor(200, 10, 20));
        QCOMPARE(formatAt(text, 9).fontFamilies().toStringList(), QStringList({"Courier New"}));
        QCOMPARE(formatAt(text, 10).verticalAlignment(), QTextCharFormat::AlignSuperScript);
        QCOMPARE(formatAt(text, 11).verticalAlignment(), QTextCharFormat::AlignSubScript);
        const QTextBlockFormat k = text.firstBlock().next().blockFormat();
        QCOMPARE(k.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(QList<qreal>({k.leftMargin(), k.textIndent(), k.topMargin(), k.bottomMargin()}),
                 QList<qreal>({48, -24, 20, 10})); // twips to pixels at 96 dpi
        const QList<QTextOption::Tab> stops = text.lastBlock().blockFormat().tabPositions();
        QCOMPARE(QList<qreal>({stops.value(0).position, stops.value(1).position}),
                 QList<qreal>({20, 100}));
        QTest::mouseClick(help.EndhelpBtn, Qt::LeftButton);
        QVERIFY(!help.isVisible());
        QVERIFY(QFile::remove(fixture.pathOf(program->helpFile)));
        QTest::mouseClick(form.HelpBtn, Qt::LeftButton);
        QCOMPARE(help.RichEdit1->toPlainText(), QStringLiteral("Elsőcdefghij\nk\nMásodik"));

        THelpForm nextStart(program->profile(),
                            fixture.folder()); // another program's file does not count
        QCOMPARE(nextStart.RichEdit1->toPlainText(), kMissing);
        QCOMPARE(nextStart.RichEdit1->document()->blockCount(), 1);
        const std::pair<QByteArray, QString> plain[] = {
            {QByteArray("\xF5r \xFCl\r\nx{\\rtf1 \\b k\xE9t}\0\x07\t\x7F.", 27),
             "őr ül\nx{\\rtf1 \\b két}\t."},
            {"\xEF\xBB\xBF\xC5\x91r", "őr"}};
        for (const auto& [bytes, text] : plain) {
            test::writeBytes(fixture.pathOf(program->helpFile), bytes);
            QCOMPARE(THelpForm(program->profile(), fixture.folder()).RichEdit1->toPlainText(),
                     text);
        }
    }

    void slopeFillDialogAsDesigned() {
        test::ScriptedPrompter prompter;
        TFuggvenyForm form(prompter, NumberFormat(u','));
        QCOMPARE(form.windowTitle(), QStringLiteral("Függvény"));
        QCOMPARE(form.size(), QSize(344, 121));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        // clang-format off
        QCOMPARE(QList<QRect>({form.Panel1->geometry(), form.LEEmelkedes->geometry(), form.LELepes->geometry(),
                               form.BtnOk->geometry(), form.BtnCancel->geometry()}),
                 QList<QRect>({{8, 8, 330, 106}, {16, 24, 121, 21}, {192, 24, 121, 21}, {216, 64, 75, 25}, {48, 64, 75, 25}}));
        QCOMPARE(QStringList({form.EmelkedesLabel->text(), form.LepesLabel->text(), form.BtnOk->text()}),
                 QStringList({"Emelkedés", "Lépés", "OK"}));
        // clang-format on
        QCOMPARE(form.EmelkedesLabel->geometry().bottom() + 1 + 3, 24); // above, spacing 3
        QVERIFY(form.BtnOk->isDefault());
        QCOMPARE(tabOrder(form.LEEmelkedes),
                 QList<QWidget*>({form.LEEmelkedes, form.LELepes, form.BtnOk, form.BtnCancel}));
    }

    // OK accepts only valid entries (the rule itself is tested in the core); a refusal keeps the
    // dialog open with the user's entries; the fields are empty at every show.
    void slopeFillDialogEntries() {
        test::ScriptedPrompter prompter;
        TFuggvenyForm form(prompter, NumberFormat(u','));
        QStringList seen;
        QTimer::singleShot(0, &form, [&] {
            seen << (form.focusWidget() ? form.focusWidget()->objectName() : QString());
            QTest::keyClicks(form.LEEmelkedes, "9");
            QTest::keyClicks(form.LELepes, "100");
            QTest::keyClick(form.LELepes, Qt::Key_Return); // OK is the default button: refused
            seen << form.LEEmelkedes->text();
            form.LEEmelkedes->setText("-8,9");
            QTest::mouseClick(form.BtnOk, Qt::LeftButton);
        });
        const auto entries = form.askEntries();
        QCOMPARE(seen, QStringList({"LEEmelkedes", "9"}));
        QCOMPARE(prompter.messages(), QStringList({"Hibás értéket adott meg, az emelkedés -8 -tól "
                                                   "+8-ig, \n a lépés 1 - 60 -ig elfogadott."}));
        QCOMPARE(entries ? QStringList({entries->slope, entries->steps}) : QStringList(),
                 QStringList({"-8,9", "100"}));
        // Shown, Cancel has the platform's own caption and icon.
        const QDialogButtonBox standard(QDialogButtonBox::Cancel);
        const QPushButton* cancel = standard.button(QDialogButtonBox::Cancel);
        QCOMPARE(form.BtnCancel->text(), cancel->text());
        QCOMPARE(form.BtnCancel->icon().pixmap(16).toImage(), cancel->icon().pixmap(16).toImage());
        QTimer::singleShot(0, &form, [&] {
            seen << form.LEEmelkedes->text() + form.LELepes->text();
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        QVERIFY(!form.askEntries());
        QCOMPARE(seen.last(), QString());
    }

    // Each program's own correction dialog, centred over the window where the program has it so.
    void correctionDialog_data() { test::addProgramRows(); }
    void correctionDialog() {
        QFETCH(const ProgramFacts*, program);
        FormFixture fixture(program->profile());
        QtPrompter prompter;
        const ProgramWindows windows(fixture.context(), prompter);
        windows.form().setGeometry(100, 100, 720, 500);
        windows.form().show();
        TEditForm& form = windows.correctionDialog();
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
        QCOMPARE(prompter.askCorrectedValue("Az érték 0,5 - 63,5 közötti szám!", "abc"),
                 QStringLiteral("12,5"));
        QCOMPARE(shown, QStringList({"BitBtn1", "Az érték 0,5 - 63,5 közötti szám!", "abc"}));
        const qreal larger = form.font().pointSizeF() * 1.4;
        QCOMPARE(
            QList<qreal>({form.StaticText1->font().pointSizeF(), form.Edit1->font().pointSizeF()}),
            QList<qreal>({larger, larger}));
        const QPoint offset =
            form.frameGeometry().center() - windows.form().frameGeometry().center();
        QCOMPARE(offset.manhattanLength() <= 4, program->dialogCentred);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
