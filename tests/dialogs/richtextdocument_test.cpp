#include "dialogs/richtextdocument.h"
#include "dialogs/rtf/rtfparser.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <random>

using namespace zerwa;

namespace {

// The character format at one position of the document (the character after it).
QTextCharFormat formatAt(QTextDocument& document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

} // namespace

class RichTextDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void charactersKeepTheirFormat() {
        QTextDocument document;
        richtext::load(document,
                       "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset238 Arial;}"
                       "{\\f1\\fcharset238 Courier New;}}{\\colortbl;\\red200\\green10\\blue20;}"
                       "a\\b b\\b0\\i c\\i0\\ul d\\ulnone\\strike e\\strike0\\fs40 f\\fs24"
                       "\\cf1 g\\cf0\\f1 h\\f0\\super i\\nosupersub\\sub j}");
        QCOMPARE(document.toPlainText(), QStringLiteral("abcdefghij"));
        QCOMPARE(formatAt(document, 0).fontWeight(), int(QFont::Normal));
        QCOMPARE(formatAt(document, 1).fontWeight(), int(QFont::Bold));
        QVERIFY(formatAt(document, 2).fontItalic());
        QVERIFY(!formatAt(document, 3).fontItalic());
        QVERIFY(formatAt(document, 3).fontUnderline());
        QVERIFY(formatAt(document, 4).fontStrikeOut());
        QCOMPARE(formatAt(document, 4).fontPointSize(), 12.0);
        QCOMPARE(formatAt(document, 5).fontPointSize(), 20.0);
        QCOMPARE(formatAt(document, 6).foreground().color(), QColor(200, 10, 20));
        QCOMPARE(formatAt(document, 7).foreground().style(), Qt::NoBrush);
        QCOMPARE(formatAt(document, 7).fontFamilies().toStringList(), QStringList({"Courier New"}));
        QCOMPARE(formatAt(document, 8).verticalAlignment(), QTextCharFormat::AlignSuperScript);
        QCOMPARE(formatAt(document, 9).verticalAlignment(), QTextCharFormat::AlignSubScript);
    }

    void paragraphsKeepTheirLayout() {
        QTextDocument document;
        richtext::load(document, "{\\rtf1 \\qc Title\\par\\pard\\li720\\fi-360\\sb300\\sa150 "
                                 "{\\pntext\\'b7\\tab}Item\\line next\\par\\pard\\qr r\\par"
                                 "\\pard\\par\\qj\\tx1500\\tx300 j}");
        QCOMPARE(document.blockCount(), 5);
        QTextBlock block = document.firstBlock();
        QCOMPARE(block.text(), QStringLiteral("Title"));
        QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

        block = block.next();
        QCOMPARE(block.text(),
                 QStringLiteral("·\tItem") + QChar::LineSeparator + QStringLiteral("next"));
        QCOMPARE(block.blockFormat().leftMargin(), 48.0); // 720 twips = half an inch
        QCOMPARE(block.blockFormat().textIndent(), -24.0);
        QCOMPARE(block.blockFormat().topMargin(), 20.0);
        QCOMPARE(block.blockFormat().bottomMargin(), 10.0);

        // The bullet's tab reaches the left indent, where the wrapped lines start.
        QCOMPARE(block.blockFormat().tabPositions().value(0).position, 48.0);

        block = block.next();
        QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        block = block.next();
        QCOMPARE(block.text(), QString());
        block = block.next();
        QCOMPARE(block.text(), QStringLiteral("j"));
        QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
        const QList<QTextOption::Tab> stops = block.blockFormat().tabPositions();
        QCOMPARE(stops.size(), 2);
        QCOMPARE(stops.at(0).position, 20.0);
        QCOMPARE(stops.at(1).position, 100.0);
    }

    void plainTextIsShownAsItIs_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("windows-1250") << QByteArray("\xF5r \xFCl\r\nk\xE9t") << "őr ül\nkét";
        QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF\xC5\x91r") << "őr";
        QTest::newRow("rtf not at the start") << QByteArray("x{\\rtf1 \\b y}") << "x{\\rtf1 \\b y}";
        QTest::newRow("control characters") << QByteArray("a\0b\x07\tc\x7F", 7) << "ab\tc";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void plainTextIsShownAsItIs() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QTextDocument document;
        richtext::load(document, bytes);
        QCOMPARE(document.toPlainText(), text);
    }

    void loadingReplacesTheWholeDocument() {
        QTextDocument document;
        richtext::load(document, "{\\rtf1 \\b first\\par second}");
        richtext::load(document, "{\\rtf1 third}");
        QCOMPARE(document.toPlainText(), QStringLiteral("third"));
        QCOMPARE(formatAt(document, 0).fontWeight(), int(QFont::Normal));
        QVERIFY(!document.isUndoAvailable());
    }

    // Random rich text, cut and spliced, always gives a document, and quickly.
    void randomInputGivesADocument() {
        const QByteArray sound =
            "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset238 Arial;}{\\f1\\fcharset2 "
            "Symbol;}}{\\colortbl;\\red255\\green0\\blue0;}\\qc\\b\\fs36 C\\'edm\\b0\\par\\pard"
            "\\li360\\fi-360{\\pntext\\f1\\'b7\\tab}\\cf1 piros\\cf0\\line \\u337?\\tab x\\par"
            "{\\field{\\*\\fldinst x}{\\fldrslt y}}\\bin2 ab\\super z}";
        std::mt19937 random(7);
        QElapsedTimer timer;
        timer.start();
        int tried = 0;
        while (timer.elapsed() < 500) {
            QByteArray input = sound;
            std::uniform_int_distribution<int> position(0, int(input.size()));
            for (int i = 0; i < 6; ++i) {
                const int at = position(random);
                const int length = std::uniform_int_distribution<int>(0, 12)(random);
                if (i % 2)
                    input.remove(at, length);
                else
                    input.insert(qMin<int>(at, input.size()), sound.mid(position(random), length));
            }
            QTextDocument document;
            richtext::load(document, input);
            QVERIFY(document.characterCount() <= input.size() + 1);
            ++tried;
        }
        QVERIFY(tried > 50);
    }
};

QTEST_MAIN(RichTextDocumentTest)
#include "richtextdocument_test.moc"
