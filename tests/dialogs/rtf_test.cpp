#include "dialogs/rtf/rtfparser.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace zerwa::rtf;

namespace {

const QByteArray kFonts = "{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}"
                          "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\froman\\fcharset204 Cyr;}}";

struct TextCase {
    const char* name;
    QByteArray rtf;
    QString text; // paragraphs on lines of their own
};

TEST(RtfText, ReadsTheTextAsTheFileMeansIt) {
    const TextCase cases[] = {
        {"nested groups", "{\\rtf1 a{b{c{d}e}f}g}", "abcdefg"},
        {"font table skipped", "{\\rtf1\\ansi\\deff0" + kFonts + "Text}", "Text"},
        {"colour table skipped", "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}x}", "x"},
        {"other tables skipped",
         "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\*\\generator R;}"
         "{\\header head}{\\footnote note}{\\pict\\pngblip 89504e47}x}",
         "x"},
        {"ignorable destination", "{\\rtf1 a{\\*\\unknown hidden{deeper}}b}", "ab"},
        {"field result only", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}",
         "link"},
        {"unknown words", "{\\rtf1 a\\foo123 b\\bar c\\baz-4 d}", "abcd"},
        {"after the document", "{\\rtf1 a}trailing{\\rtf1 b}", "a"},
        {"file line ends", "{\\rtf1 a\r\nb\nc\rd}", "abcd"},
        {"paragraphs", "{\\rtf1 one\\par two\\par\\par three\\par}", "one\ntwo\n\nthree"},
        {"backslash newline", "{\\rtf1 a\\\nb}", "a\nb"},
        {"line, tab, cell", "{\\rtf1 a\\line b\\tab c\\cell d\\row e\\page f}", "a\nb\tc\td\ne\nf"},
        {"hex in 1250", "{\\rtf1\\ansi\\ansicpg1250 \\'f5 \\'fb \\'d5\\'db}", "ő ű ŐŰ"},
        {"1250 by default", "{\\rtf1 \\'f5\\'fb\\'e1}", "őűá"},
        {"hex in 1252", "{\\rtf1\\ansi\\ansicpg1252 \\'f5\\'fb}", "õû"},
        {"hex in 1258", "{\\rtf1\\ansicpg1258 \\'d2}", "\u0309"},
        {"mac", "{\\rtf1\\mac \\'8e}", "é"},
        {"raw bytes", QByteArray("{\\rtf1\\ansicpg1250 \xF5\xFB}"), "őű"},
        {"font charset", "{\\rtf1\\ansicpg1250" + kFonts + "\\f2\\'e0\\f0\\'f5}", "аő"},
        {"symbol font", "{\\rtf1" + kFonts + "{\\f1\\'b7}x}", "•x"},
        {"unicode", "{\\rtf1 \\u337?\\u369?}", "őű"},
        {"fallback as hex", "{\\rtf1\\ansicpg1250 \\u337\\'f5x}", "őx"},
        {"skip count", "{\\rtf1\\uc2 \\u337??x{\\uc0 \\u337 y}\\u337??z}", "őxőyőz"},
        {"symbol code points", "{\\rtf1 \\u-3913?\\u-3841?\\u-3840?}", "•\u00FF\uF100"},
        {"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?}", "\U0001F600"},
        {"lone surrogate", "{\\rtf1 \\u-10000?x}", "\uFFFDx"},
        {"escapes", "{\\rtf1 \\\\ \\{ \\}}", "\\ { }"},
        {"symbol words",
         "{\\rtf1 \\~\\-\\_\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
         "\u00A0\u00AD\u2011\u2014\u2013\u2022\u2018\u2019\u201C\u201D"},
        {"control characters", "{\\rtf1 a\\'00\\'07\\'7f\\u13?\\u0?b\tc}", "ab\tc"},
        {"binary data", QByteArray("{\\rtf1 a\\bin6 }{\\\0\xFF}b}", 22), "ab"},
        {"binary past the end", "{\\rtf1 a\\bin999999 xyz", "a"},
        {"missing braces", "{\\rtf1 {\\b a{\\i b", "ab"},
        {"stray braces", "}}{\\rtf1 a}}}b", "a"},
        {"truncated hex", "{\\rtf1 a\\'f", "af"},
        {"broken hex", "{\\rtf1 a\\'zzb}", "azzb"},
        {"truncated word", "{\\rtf1 a\\pa", "a"},
        {"truncated unicode", "{\\rtf1 a\\u33", "a!"},
        {"empty", "", ""},
        {"overlong word", "{\\rtf1 a\\bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb b}", "ab"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(Parser::parse(c.rtf).plainText(), c.text) << c.name;
}

// Every character of the document with the format it is shown in.
std::vector<std::pair<QChar, CharFormat>> charactersOf(QByteArrayView bytes) {
    std::vector<std::pair<QChar, CharFormat>> characters;
    for (const Paragraph& paragraph : Parser::parse(bytes).paragraphs)
        for (const Run& run : paragraph.runs)
            for (const QChar c : run.text)
                characters.emplace_back(c, run.format);
    return characters;
}

TEST(RtfFormat, CharacterFormatsGoOnAndOffAndGroupsRestoreThem) {
    const auto characters = charactersOf("{\\rtf1 a\\b b\\b0 c\\i d{\\i0\\ul e}f\\ulnone\\strike g"
                                         "\\strike0\\super h\\sub i\\nosupersub\\plain j}");
    ASSERT_EQ(characters.size(), 10u);
    // bold, italic, underline, struck out, position
    const std::vector<std::array<int, 5>> expected = {
        {0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0},
        {0, 1, 0, 0, 0}, {0, 1, 0, 1, 0}, {0, 1, 0, 0, 1}, {0, 1, 0, 0, 2}, {0, 0, 0, 0, 0}};
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const CharFormat& f = characters[i].second;
        EXPECT_EQ((std::array<int, 5>{f.bold, f.italic, f.underline, f.strikeOut, int(f.position)}),
                  expected[i])
            << "at " << i;
    }
}

TEST(RtfFormat, SizesColoursAndFontsComeFromTheirTables) {
    const auto characters = charactersOf(
        "{\\rtf1\\deff1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman{\\*\\panose 02}Times;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue300;}"
        "a\\fs40\\cf1\\f0 b\\fs\\cf2 c\\fs99999\\cf9\\f7 d\\fs1\\cf-1 e\\plain f}");
    ASSERT_EQ(characters.size(), 6u);
    const std::optional<Color> none;
    const std::tuple<int, std::optional<Color>, QString> expected[] = {
        {24, none, "Times"},
        {40, Color{255, 0, 0}, "Arial"},
        {24, Color{0, 128, 255}, "Arial"},
        {3276, none, ""},
        {2, none, ""},
        {24, none, "Times"}};
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const CharFormat& f = characters[i].second;
        EXPECT_EQ(std::tuple(f.fontSizeHalfPoints, f.color, f.fontFamily), expected[i])
            << "at " << i;
    }
}

TEST(RtfFormat, ParagraphsTakeTheLayoutInForceAtTheirEnd) {
    QByteArray rtf =
        "{\\rtf1 \\qc a\\par\\pard b\\par\\qr c\\par\\qj d\\par"
        "{\\ql\\li720\\ri360\\fi-360\\sb120\\sa240\\tx720\\tx1440 e\\par}f\\par\\pard ";
    for (int i = 0; i < 100; ++i)
        rtf += "\\tx" + QByteArray::number(i * 100);
    const Document document = Parser::parse(rtf + "g}");
    ASSERT_EQ(document.paragraphs.size(), 7);
    const Alignment alignments[] = {Alignment::Center,  Alignment::Left, Alignment::Right,
                                    Alignment::Justify, Alignment::Left, Alignment::Justify,
                                    Alignment::Left};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(document.paragraphs[i].format.alignment, alignments[i]) << i;
    const ParagraphFormat e = document.paragraphs[4].format;
    EXPECT_EQ(
        std::tuple(e.leftIndent, e.rightIndent, e.firstLineIndent, e.spaceBefore, e.spaceAfter),
        std::tuple(720, 360, -360, 120, 240));
    EXPECT_EQ(e.tabStops, QList<int>({720, 1440}));
    EXPECT_EQ(document.paragraphs[5].format.leftIndent, 0); // the group has ended
    EXPECT_EQ(document.paragraphs[6].format.tabStops.size(), ParagraphFormat::kMaxTabStops);
}

TEST(RtfFormat, DeepNestingKeepsTheTextAndRecoversItsFormat) {
    const int depth = 100000;
    const auto characters = charactersOf("{\\rtf1 a" + QByteArray(depth, '{') + "\\b deep" +
                                         QByteArray(depth, '}') + "b}");
    ASSERT_EQ(characters.size(), 6u);
    EXPECT_FALSE(characters[0].second.bold);
    EXPECT_TRUE(characters[4].second.bold);
    EXPECT_FALSE(characters[5].second.bold);
}

TEST(RtfFormat, TheDocumentStaysWithinWhatAViewerShowsAtOnce) {
    const auto build = [](const QByteArray& unit, int count) {
        return Parser::parse("{\\rtf1 " + unit.repeated(count));
    };
    EXPECT_EQ(build("0123456789", 150'000).paragraphs[0].text().size(),
              DocumentBuilder::kMaxCharacters);
    EXPECT_EQ(build("x\\par ", 70'000).paragraphs.size(), DocumentBuilder::kMaxParagraphs);
    EXPECT_EQ(build("\xF5\xFB", 100'000).paragraphs[0].text(),
              QStringLiteral("őű").repeated(100000));
}

TEST(RtfDetection, RichTextStartsWithTheRtfMark) {
    const std::pair<QByteArray, bool> cases[] = {{"{\\rtf1\\ansi x}", true},
                                                 {" \r\n\t{\\rtf", true},
                                                 {"", false},
                                                 {"{\\rt", false},
                                                 {"Sima szöveg {\\rtf1}", false},
                                                 {"{ \\rtf1 x}", false},
                                                 {"\xEF\xBB\xBF{\\rtf1 x}", false},
                                                 {"{\\RTF1 x}", false}};
    for (const auto& [bytes, rich] : cases)
        EXPECT_EQ(Parser::looksLikeRichText(bytes), rich) << bytes.constData();
}

} // namespace
