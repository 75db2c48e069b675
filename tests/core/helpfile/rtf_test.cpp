// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/helpfile/rtfparser.h"
#include "core/support/gtestqt.h"

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
        {"groups, and nothing after the document", "{\\rtf1 a{b{c}d}e}trailing{\\rtf1 f}", "abcde"},
        {"font and colour tables", "{\\rtf1\\deff0" + kFonts + "{\\colortbl;\\red255;}Text}",
         "Text"},
        {"other tables skipped",
         "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\*\\generator R;}"
         "{\\header head}{\\footnote note}{\\pict\\pngblip 89504e47}x}",
         "x"},
        {"ignorable destination", "{\\rtf1 a{\\*\\unknown hidden{deeper}}b}", "ab"},
        {"field result only", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}",
         "link"},
        {"unknown words, file line ends", "{\\rtf1 a\\foo123 b\r\nc\\baz-4\nd\re}", "abcde"},
        {"paragraphs", "{\\rtf1 one\\par two\\par\\par three\\par}", "one\ntwo\n\nthree"},
        {"backslash newline", "{\\rtf1 a\\\nb}", "a\nb"},
        {"line, tab, cell", "{\\rtf1 a\\line b\\tab c\\cell d\\row e\\page f}", "a\nb\tc\td\ne\nf"},
        {"1250 by default", "{\\rtf1 \\'f5 \\'fb \\'d5\\'db\\'e1}", "ő ű ŐŰá"},
        {"hex in 1252", "{\\rtf1\\ansi\\ansicpg1252 \\'F5\\'fB}", "õû"},
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
        {"broken and truncated hex", "{\\rtf1 a\\'zzb\\'f", "azzbf"},
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

// Character formats go on and off, groups restore them; sizes, colours and fonts come from
// their tables.
TEST(RtfFormat, CharactersKeepTheirFormat) {
    const auto characters = charactersOf(
        "{\\rtf1\\deff1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman{\\*\\panose 02}Times;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue300;}a\\b b\\b0 c\\i d"
        "{\\i0\\ul e}f\\ulnone\\strike g\\strike0\\super h\\sub i\\nosupersub\\plain j"
        "\\fs40\\cf1\\f0 k\\fs\\cf2 l\\fs99999\\cf9\\f7 m\\fs1\\cf-1 n}");
    ASSERT_EQ(characters.size(), 14u);
    // bold, italic, underline, struck out, position, half points, colour, font
    const std::optional<Color> none;
    using Format = std::tuple<int, int, int, int, int, int, std::optional<Color>, QString>;
    // clang-format off
    const Format expected[] = {
        {0, 0, 0, 0, 0, 24, none, "Times"}, {1, 0, 0, 0, 0, 24, none, "Times"}, {0, 0, 0, 0, 0, 24, none, "Times"},
        {0, 1, 0, 0, 0, 24, none, "Times"}, {0, 0, 1, 0, 0, 24, none, "Times"}, {0, 1, 0, 0, 0, 24, none, "Times"},
        {0, 1, 0, 1, 0, 24, none, "Times"}, {0, 1, 0, 0, 1, 24, none, "Times"}, {0, 1, 0, 0, 2, 24, none, "Times"},
        {0, 0, 0, 0, 0, 24, none, "Times"}, {0, 0, 0, 0, 0, 40, Color{255, 0, 0}, "Arial"},
        {0, 0, 0, 0, 0, 24, Color{0, 128, 255}, "Arial"}, {0, 0, 0, 0, 0, 3276, none, ""}, {0, 0, 0, 0, 0, 2, none, ""}};
    // clang-format on
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const CharFormat& f = characters[i].second;
        EXPECT_EQ(Format(f.bold, f.italic, f.underline, f.strikeOut, int(f.position),
                         f.fontSizeHalfPoints, f.color, f.fontFamily),
                  expected[i])
            << "at " << i;
    }
}

// A paragraph takes the layout in force at its end; a group restores the layout outside it.
// (How each layout setting is shown is tested through the help window.)
TEST(RtfFormat, ParagraphsTakeTheLayoutInForceAtTheirEnd) {
    QByteArray rtf = "{\\rtf1 \\qr a\\par{\\qc\\li720\\ri360\\tx720 b\\par}c\\par\\pard ";
    for (int i = 0; i < 100; ++i)
        rtf += "\\tx" + QByteArray::number(i * 100);
    const Document document = Parser::parse(rtf + "d}");
    ASSERT_EQ(document.paragraphs.size(), 4);
    const ParagraphFormat b = document.paragraphs[1].format;
    EXPECT_EQ(std::tuple(b.alignment, b.leftIndent, b.rightIndent, b.tabStops),
              std::tuple(Alignment::Center, 720, 360, QList<int>({720})));
    EXPECT_EQ(std::tuple(document.paragraphs[2].format.alignment,
                         document.paragraphs[2].format.leftIndent),
              std::tuple(Alignment::Right, 0));
    EXPECT_EQ(document.paragraphs[3].format.alignment, Alignment::Left);
    EXPECT_EQ(document.paragraphs[3].format.tabStops.size(), ParagraphFormat::kMaxTabStops);
}

TEST(RtfFormat, DeepNestingKeepsTheTextAndRecoversItsFormat) {
    const QByteArray deep = QByteArray(100000, '{') + "\\b deep" + QByteArray(100000, '}');
    const auto characters = charactersOf("{\\rtf1 a" + deep + "b}");
    ASSERT_EQ(characters.size(), 6u);
    EXPECT_EQ(QList<bool>({characters[0].second.bold, characters[4].second.bold,
                           characters[5].second.bold}),
              QList<bool>({false, true, false}));
}

} // namespace
