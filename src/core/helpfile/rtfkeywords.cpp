// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/helpfile/rtfkeywords.h"

#include <QHash>

namespace zerwa::rtf {

namespace {

// Destinations that hold no text of the document: tables, document information, pictures,
// objects, headers and footers, notes, field instructions, index entries, list definitions.
constexpr const char* kSkippedDestinations[] = {
    "annotation", "atnauthor", "atnid",        "author",
    "bkmkend",    "bkmkstart", "buptim",       "colorschememapping",
    "comment",    "creatim",   "datastore",    "defchp",
    "defpap",     "do",        "doccomm",      "docvar",
    "falt",       "filetbl",   "fldinst",      "footer",
    "footerf",    "footerl",   "footerr",      "footnote",
    "ftncn",      "ftnsep",    "ftnsepc",      "generator",
    "header",     "headerf",   "headerl",      "headerr",
    "info",       "keywords",  "latentstyles", "listoverridetable",
    "listtable",  "mmathPr",   "nonshppict",   "objdata",
    "object",     "operator",  "panose",       "pgdsctbl",
    "pict",       "pn",        "pntxta",       "pntxtb",
    "printim",    "private",   "revtbl",       "revtim",
    "rsidtbl",    "rxe",       "shp",          "shpinst",
    "stylesheet", "subject",   "tc",           "template",
    "themedata",  "title",     "txe",          "userprops",
    "xe",         "xmlnstbl",
};

struct CharacterWord {
    const char* word;
    char16_t character;
};

constexpr CharacterWord kCharacterWords[] = {
    {"tab", u'\t'},      {"bullet", 0x2022},    {"emdash", 0x2014},    {"endash", 0x2013},
    {"emspace", 0x2003}, {"enspace", 0x2002},   {"qmspace", 0x2005},   {"lquote", 0x2018},
    {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},
    {"zwnj", 0x200C},    {"zwbo", 0x200B},      {"zwnbo", 0xFEFF},
};

struct PlainWord {
    const char* word;
    Keyword keyword;
};

constexpr PlainWord kPlainWords[] = {
    {"ansi", Keyword::Ansi},
    {"ansicpg", Keyword::AnsiCodePage},
    {"mac", Keyword::Mac},
    {"pc", Keyword::Pc},
    {"pca", Keyword::Pca},
    {"deff", Keyword::DefaultFont},
    {"uc", Keyword::UnicodeSkipCount},
    {"u", Keyword::UnicodeChar},
    {"fonttbl", Keyword::FontTable},
    {"colortbl", Keyword::ColorTable},
    {"f", Keyword::Font},
    {"fcharset", Keyword::FontCharset},
    {"red", Keyword::Red},
    {"green", Keyword::Green},
    {"blue", Keyword::Blue},
    {"plain", Keyword::Plain},
    {"b", Keyword::Bold},
    {"i", Keyword::Italic},
    {"ul", Keyword::Underline},
    {"uld", Keyword::Underline},
    {"uldash", Keyword::Underline},
    {"uldashd", Keyword::Underline},
    {"uldashdd", Keyword::Underline},
    {"uldb", Keyword::Underline},
    {"ulhwave", Keyword::Underline},
    {"ulldash", Keyword::Underline},
    {"ulth", Keyword::Underline},
    {"ulthd", Keyword::Underline},
    {"ulthdash", Keyword::Underline},
    {"ulw", Keyword::Underline},
    {"ulwave", Keyword::Underline},
    {"ulnone", Keyword::UnderlineNone},
    {"strike", Keyword::StrikeOut},
    {"super", Keyword::Superscript},
    {"sub", Keyword::Subscript},
    {"nosupersub", Keyword::NoSuperSub},
    {"fs", Keyword::FontSize},
    {"cf", Keyword::ForegroundColor},
    {"pard", Keyword::ParagraphDefaults},
    {"par", Keyword::ParagraphEnd},
    {"sect", Keyword::ParagraphEnd},
    {"page", Keyword::ParagraphEnd},
    {"row", Keyword::ParagraphEnd},
    {"line", Keyword::LineBreak},
    {"cell", Keyword::CellEnd},
    {"nestcell", Keyword::CellEnd},
    {"ql", Keyword::AlignLeft},
    {"qr", Keyword::AlignRight},
    {"qc", Keyword::AlignCenter},
    {"qj", Keyword::AlignJustify},
    {"li", Keyword::LeftIndent},
    {"ri", Keyword::RightIndent},
    {"fi", Keyword::FirstLineIndent},
    {"sb", Keyword::SpaceBefore},
    {"sa", Keyword::SpaceAfter},
    {"tx", Keyword::TabStop},
};

QHash<QByteArray, KeywordInfo> buildTable() {
    QHash<QByteArray, KeywordInfo> table;
    for (const char* word : kSkippedDestinations)
        table.insert(word, {Keyword::SkippedDestination});
    for (const CharacterWord& entry : kCharacterWords)
        table.insert(entry.word, {Keyword::Character, entry.character});
    for (const PlainWord& entry : kPlainWords)
        table.insert(entry.word, {entry.keyword});
    return table;
}

} // namespace

KeywordInfo lookupKeyword(QByteArrayView word) {
    static const QHash<QByteArray, KeywordInfo> table = buildTable();
    // Looked up in place, without a copy of the word.
    return table.value(QByteArray::fromRawData(word.data(), word.size()));
}

} // namespace zerwa::rtf
