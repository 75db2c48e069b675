#include "dialogs/rtf/rtfparser.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace zerwa::rtf;

namespace {

// The whole text of a document as one string: paragraphs on their own lines, line breaks
// inside a paragraph as '\n'.
QString textOf(QByteArrayView bytes) {
    return Parser::parse(bytes).plainText();
}

struct TextCase {
    const char* name;
    QByteArray rtf;
    QString expected;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.name;
}

class ParserText : public testing::TestWithParam<TextCase> {};

TEST_P(ParserText, ReadsTheTextAsTheFileMeansIt) {
    EXPECT_EQ(textOf(GetParam().rtf), GetParam().expected);
}

const QByteArray kFontTable = "{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}"
                              "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\froman\\fcharset204 Cyr;}}";

INSTANTIATE_TEST_SUITE_P(
    Groups, ParserText,
    testing::Values(
        TextCase{"nested", "{\\rtf1 a{b{c{d}e}f}g}", "abcdefg"},
        TextCase{"fontTableSkipped", "{\\rtf1\\ansi\\deff0" + kFontTable + "Text}", "Text"},
        TextCase{"flatFontTableSkipped",
                 "{\\rtf1{\\fonttbl\\f0\\fswiss Arial;\\f1\\froman Times;}x}", "x"},
        TextCase{"colorTableSkipped",
                 "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}x}", "x"},
        TextCase{"otherTablesSkipped",
                 "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}"
                 "{\\*\\generator Riched20 10.0;}{\\*\\listtable{\\list x}}"
                 "{\\header head}{\\footnote note}{\\pict\\pngblip 89504e47}x}",
                 "x"},
        TextCase{"ignorableDestinationSkipped", "{\\rtf1 a{\\*\\unknowndest hidden{deeper}}b}",
                 "ab"},
        TextCase{"fieldShowsItsResultOnly",
                 "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}}", "link"},
        TextCase{"unknownWordsIgnored", "{\\rtf1 a\\foo123 b\\bar c\\baz-4 d}", "abcd"},
        TextCase{"textAfterTheDocumentIgnored", "{\\rtf1 a}trailing{\\rtf1 b}", "a"},
        TextCase{"fileLineEndsCarryNoMeaning", "{\\rtf1 a\r\nb\nc\rd}", "abcd"}));

INSTANTIATE_TEST_SUITE_P(
    Breaks, ParserText,
    testing::Values(TextCase{"par", "{\\rtf1 one\\par two\\par three}", "one\ntwo\nthree"},
                    TextCase{"finalParDoesNotAddALine", "{\\rtf1 one\\par}", "one"},
                    TextCase{"emptyParagraphsKept", "{\\rtf1 a\\par\\par b}", "a\n\nb"},
                    TextCase{"backslashNewlineIsPar", "{\\rtf1 a\\\nb}", "a\nb"},
                    TextCase{"line", "{\\rtf1 a\\line b}", "a\nb"},
                    TextCase{"tabAndCell", "{\\rtf1 a\\tab b\\cell c\\row d}", "a\tb\tc\nd"},
                    TextCase{"pageAndSect", "{\\rtf1 a\\page b\\sect c}", "a\nb\nc"}));

INSTANTIATE_TEST_SUITE_P(
    Characters, ParserText,
    testing::Values(
        TextCase{"hexThroughCodePage1250", "{\\rtf1\\ansi\\ansicpg1250 \\'f5 \\'fb \\'d5\\'db}",
                 "ő ű ŐŰ"},
        TextCase{"hexDefaultsTo1250", "{\\rtf1 \\'f5\\'fb\\'e1}", "őűá"},
        TextCase{"hexThroughCodePage1252", "{\\rtf1\\ansi\\ansicpg1252 \\'f5\\'fb}", "õû"},
        TextCase{"rawBytesThroughCodePage", QByteArray("{\\rtf1\\ansicpg1250 \xF5\xFB}"), "őű"},
        TextCase{"fontCharsetChoosesCodePage",
                 "{\\rtf1\\ansicpg1250" + kFontTable + "\\f2\\'e0\\f0\\'f5}", "аő"},
        TextCase{"symbolFontBullet", "{\\rtf1" + kFontTable + "{\\f1\\'b7}x}", "•x"},
        TextCase{"bulletAsText",
                 "{\\rtf1" + kFontTable +
                     "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}Item}",
                 "•\tItem"},
        TextCase{"unicodeWithFallback", "{\\rtf1 \\u337?\\u369?}", "őű"},
        TextCase{"unicodeFallbackAsHex", "{\\rtf1\\ansicpg1250 \\u337\\'f5x}", "őx"},
        TextCase{"unicodeSkipCountTwo", "{\\rtf1\\uc2 \\u337??x}", "őx"},
        TextCase{"unicodeSkipCountZero", "{\\rtf1\\uc0 \\u337 x}", "őx"},
        TextCase{"unicodeSkipCountIsGroupScoped", "{\\rtf1 {\\uc2\\u337??}\\u337?x}", "őőx"},
        TextCase{"unicodeSkipEndsAtGroup", "{\\rtf1\\uc3 \\u337{x}y}", "őxy"},
        TextCase{"negativeUnicode", "{\\rtf1 \\u-3913?\\u-1?}", "•\uFFFF"},
        TextCase{"surrogatePair", "{\\rtf1 \\u-10179?\\u-8704?}", "\U0001F600"},
        TextCase{"loneSurrogateReplaced", "{\\rtf1 \\u-10000?x}", "\uFFFDx"},
        TextCase{"escapedSpecials", "{\\rtf1 \\\\ \\{ \\}}", "\\ { }"},
        TextCase{"symbolWords",
                 "{\\rtf1 \\~\\-\\_\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
                 "\u00A0\u00AD\u2011\u2014\u2013\u2022\u2018\u2019\u201C\u201D"},
        TextCase{"controlCharactersDropped", "{\\rtf1 a\\'00\\'07\\'7f\\u13?\\u0?b\tc}", "ab\tc"}));

INSTANTIATE_TEST_SUITE_P(
    Binary, ParserText,
    testing::Values(TextCase{"binSkipsItsData", QByteArray("{\\rtf1 a\\bin6 }{\\\0\xFF}b}", 22),
                             "ab"},
                    TextCase{"binInsideSkippedGroup", "{\\rtf1 {\\*\\blipuid \\bin3 }}}}x}", "x"},
                    TextCase{"binLongerThanTheFile", "{\\rtf1 a\\bin999999 xyz", "a"},
                    TextCase{"binNegativeSkipsNothing", "{\\rtf1 a\\bin-5 b}", "ab"},
                    TextCase{"binHugeParameter", "{\\rtf1 a\\bin99999999999999999999 b}", "a"},
                    TextCase{"binCountsAsOneFallback", "{\\rtf1 \\u337\\bin2 xyz}", "őz"}));

INSTANTIATE_TEST_SUITE_P(
    Broken, ParserText,
    testing::Values(TextCase{"missingClosingBraces", "{\\rtf1 {\\b a{\\i b", "ab"},
                    TextCase{"extraClosingBraces", "{\\rtf1 a}}}}b", "a"},
                    TextCase{"strayBraceBeforeTheDocument", "}}{\\rtf1 a}", "a"},
                    TextCase{"truncatedHex", "{\\rtf1 a\\'f", "af"},
                    TextCase{"brokenHex", "{\\rtf1 a\\'zzb}", "azzb"},
                    TextCase{"truncatedBackslash", "{\\rtf1 a\\", "a"},
                    TextCase{"truncatedWord", "{\\rtf1 a\\pa", "a"},
                    TextCase{"truncatedUnicode", "{\\rtf1 a\\u33", "a!"}, TextCase{"empty", "", ""},
                    TextCase{"onlyTheMark", "{\\rtf", ""},
                    TextCase{"overlongWord",
                             "{\\rtf1 a\\bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb b}", "ab"}));

// Formatting

// Every character of the document with the format it is shown in.
std::vector<std::pair<QChar, CharFormat>> charactersOf(QByteArrayView bytes) {
    const Document document = Parser::parse(bytes);
    std::vector<std::pair<QChar, CharFormat>> characters;
    for (const Paragraph& paragraph : document.paragraphs)
        for (const Run& run : paragraph.runs)
            for (const QChar c : run.text)
                characters.emplace_back(c, run.format);
    return characters;
}

QString textOf(const std::vector<std::pair<QChar, CharFormat>>& characters) {
    QString text;
    for (const auto& [c, format] : characters)
        text += c;
    return text;
}

TEST(ParserFormat, BoldItalicUnderlineGoOnAndOff) {
    const auto characters =
        charactersOf("{\\rtf1 a\\b b\\b0 c\\i d\\i0 e\\ul f\\ul0 g\\ul h\\ulnone i"
                     "\\uldb j\\strike k\\strike0 l}");
    ASSERT_EQ(textOf(characters), "abcdefghijkl");
    // bold, italic, underline, struck out
    const std::vector<std::array<bool, 4>> expected = {
        {0, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 0},
        {0, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 1}, {0, 0, 1, 0},
    };
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const CharFormat& f = characters[i].second;
        EXPECT_EQ((std::array<bool, 4>{f.bold, f.italic, f.underline, f.strikeOut}), expected[i])
            << "at " << i;
    }
}

TEST(ParserFormat, GroupsRestoreTheFormatOnTheirEnd) {
    const auto characters = charactersOf("{\\rtf1 \\i a{\\b b{\\i0 c}d}e\\plain f}");
    ASSERT_EQ(textOf(characters), "abcdef");
    const std::vector<std::array<bool, 2>> expected = {{1, 0}, {1, 1}, {0, 1},
                                                       {1, 1}, {1, 0}, {0, 0}};
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const CharFormat& f = characters[i].second;
        EXPECT_EQ((std::array<bool, 2>{f.italic, f.bold}), expected[i]) << "at " << i;
    }
}

TEST(ParserFormat, FontSizeInHalfPoints) {
    const auto characters = charactersOf(
        "{\\rtf1 a\\fs40 b\\fs c\\fs0 d\\fs99999 e\\fs1 f\\fs-8 g\\plain\\fs30 h\\plain i}");
    ASSERT_EQ(textOf(characters), "abcdefghi");
    std::vector<int> sizes;
    for (const auto& [c, format] : characters)
        sizes.push_back(format.fontSizeHalfPoints);
    EXPECT_EQ(sizes, (std::vector<int>{24, 40, 24, 24, 3276, 2, 24, 30, 24}));
}

TEST(ParserFormat, ColorsComeFromTheColorTable) {
    const auto characters =
        charactersOf("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue300;;}"
                     "a\\cf1 b\\cf2 c\\cf3 d\\cf0 e\\cf9 f\\cf-1 g{\\cf1 h}i}");
    ASSERT_EQ(textOf(characters), "abcdefghi");
    std::vector<std::optional<Color>> colors;
    for (const auto& [c, format] : characters)
        colors.push_back(format.color);
    const std::optional<Color> none;
    const Color red{255, 0, 0};
    const Color blue{0, 128, 255};
    EXPECT_EQ(colors, (std::vector<std::optional<Color>>{none, red, blue, none, none, none, none,
                                                         red, none}));
}

TEST(ParserFormat, FontsComeFromTheFontTable) {
    const auto characters =
        charactersOf("{\\rtf1\\deff1{\\fonttbl{\\f0\\fswiss Arial;}"
                     "{\\f1\\froman{\\*\\panose 0203}Times New Roman;}{\\f2\\fcharset238 "
                     "Bet\\'fb;}}a\\f0 b\\f2 c\\f7 d\\plain e}");
    ASSERT_EQ(textOf(characters), "abcde");
    std::vector<QString> families;
    for (const auto& [c, format] : characters)
        families.push_back(format.fontFamily);
    EXPECT_EQ(families,
              (std::vector<QString>{"Times New Roman", "Arial", "Betű", "", "Times New Roman"}));
}

TEST(ParserFormat, SuperscriptAndSubscript) {
    const auto characters = charactersOf("{\\rtf1 a\\super b\\sub c\\nosupersub d}");
    ASSERT_EQ(textOf(characters), "abcd");
    EXPECT_EQ(characters[0].second.position, VerticalPosition::Normal);
    EXPECT_EQ(characters[1].second.position, VerticalPosition::Superscript);
    EXPECT_EQ(characters[2].second.position, VerticalPosition::Subscript);
    EXPECT_EQ(characters[3].second.position, VerticalPosition::Normal);
}

TEST(ParserFormat, ParagraphsTakeTheLayoutInForceAtTheirEnd) {
    const Document document =
        Parser::parse("{\\rtf1 \\qc a\\par\\pard b\\par\\qr c\\par\\qj d\\par"
                      "{\\ql\\li720\\ri360\\fi-360\\sb120\\sa240 e\\par}f\\par\\pard\\qc g}");
    ASSERT_EQ(document.paragraphs.size(), 7);
    const QList<Alignment> alignments = {Alignment::Center,  Alignment::Left, Alignment::Right,
                                         Alignment::Justify, Alignment::Left, Alignment::Justify,
                                         Alignment::Center};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(document.paragraphs[i].format.alignment, alignments[i]) << i;
    const ParagraphFormat indented = document.paragraphs[4].format;
    EXPECT_EQ(indented.leftIndent, 720);
    EXPECT_EQ(indented.rightIndent, 360);
    EXPECT_EQ(indented.firstLineIndent, -360);
    EXPECT_EQ(indented.spaceBefore, 120);
    EXPECT_EQ(indented.spaceAfter, 240);
    // The group ended before "f": its paragraph is back to the layout outside the group.
    EXPECT_EQ(document.paragraphs[5].format.leftIndent, 0);
}

TEST(ParserFormat, TabStopsUntilTheParagraphDefaults) {
    QByteArray rtf = "{\\rtf1 \\tx720\\tx1440 a\\par b\\pard\\tx-5 c\\par\\pard ";
    for (int i = 0; i < 100; ++i)
        rtf += "\\tx" + QByteArray::number(i * 100);
    rtf += "d}";
    const Document document = Parser::parse(rtf);
    ASSERT_EQ(document.paragraphs.size(), 3);
    EXPECT_EQ(document.paragraphs[0].format.tabStops, QList<int>({720, 1440}));
    EXPECT_EQ(document.paragraphs[1].format.tabStops, QList<int>({0}));
    EXPECT_EQ(document.paragraphs[2].format.tabStops.size(), ParagraphFormat::kMaxTabStops);
}

TEST(ParserFormat, NeighbouringTextWithOneFormatIsOneRun) {
    const Document document = Parser::parse("{\\rtf1 \\b a\\'e1{b}\\u337?c\\b0 d}");
    ASSERT_EQ(document.paragraphs.size(), 1);
    ASSERT_EQ(document.paragraphs[0].runs.size(), 2);
    EXPECT_EQ(document.paragraphs[0].runs[0].text, "aábőc");
    EXPECT_EQ(document.paragraphs[0].runs[1].text, "d");
}

TEST(ParserFormat, DeepNestingKeepsTheTextAndRecoversItsFormat) {
    const int depth = 100000;
    QByteArray rtf = "{\\rtf1 a";
    rtf += QByteArray(depth, '{');
    rtf += "\\b deep";
    rtf += QByteArray(depth, '}');
    rtf += "b}";
    const auto characters = charactersOf(rtf);
    ASSERT_EQ(textOf(characters), "adeepb");
    EXPECT_FALSE(characters[0].second.bold);
    EXPECT_TRUE(characters[1].second.bold);
    EXPECT_TRUE(characters[4].second.bold);
    EXPECT_FALSE(characters[5].second.bold);
}

TEST(ParserLimits, TheDocumentStaysWithinWhatAViewerShowsAtOnce) {
    const auto build = [](const QByteArray& unit, qsizetype count) {
        QByteArray rtf = "{\\rtf1 ";
        for (qsizetype i = 0; i < count; ++i)
            rtf += unit;
        return Parser::parse(rtf);
    };
    const Document text = build("0123456789", 150'000);
    ASSERT_EQ(text.paragraphs.size(), 1);
    EXPECT_EQ(text.paragraphs[0].text().size(), DocumentBuilder::kMaxCharacters);
    EXPECT_TRUE(text.paragraphs[0].text().startsWith("01234567890123"));

    EXPECT_EQ(build("x\\par ", 70'000).paragraphs.size(), DocumentBuilder::kMaxParagraphs);

    const Document flips = build("\\b x\\b0 y", 30'000);
    qsizetype runs = 0;
    for (const Paragraph& paragraph : flips.paragraphs)
        runs += paragraph.runs.size();
    EXPECT_EQ(runs, DocumentBuilder::kMaxRuns);

    // Below the limits nothing is lost, also when one stretch of text is longer than the
    // pieces the bytes are decoded in.
    const Document long1250 = build("\xF5\xFB", 100'000);
    EXPECT_EQ(long1250.paragraphs[0].text(), QStringLiteral("őű").repeated(100000));
}

// Plain text detection

TEST(ParserDetection, RichTextStartsWithTheRtfMark) {
    EXPECT_TRUE(Parser::looksLikeRichText("{\\rtf1\\ansi x}"));
    EXPECT_TRUE(Parser::looksLikeRichText(" \r\n\t{\\rtf"));
    EXPECT_FALSE(Parser::looksLikeRichText(""));
    EXPECT_FALSE(Parser::looksLikeRichText("{\\rt"));
    EXPECT_FALSE(Parser::looksLikeRichText("Sima szöveg {\\rtf1}"));
    EXPECT_FALSE(Parser::looksLikeRichText("{ \\rtf1 x}"));
    EXPECT_FALSE(Parser::looksLikeRichText("\xEF\xBB\xBF{\\rtf1 x}"));
    EXPECT_FALSE(Parser::looksLikeRichText("{\\RTF1 x}"));
}

} // namespace
