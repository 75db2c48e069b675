// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

namespace zerwa::rtf {

// The control words the help viewer acts on; every other word is read and ignored.
enum class Keyword {
    Unknown,
    // Document character set and defaults
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    UnicodeSkipCount,
    UnicodeChar,
    // Destinations
    FontTable,
    ColorTable,
    SkippedDestination, // a destination whose text is not part of the document
    // Font and colour tables
    Font,
    FontCharset,
    Red,
    Green,
    Blue,
    // Character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    StrikeOut,
    Superscript,
    Subscript,
    NoSuperSub,
    FontSize,
    ForegroundColor,
    // Paragraphs
    ParagraphDefaults,
    ParagraphEnd,
    LineBreak,
    CellEnd,
    AlignLeft,
    AlignRight,
    AlignCenter,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstLineIndent,
    SpaceBefore,
    SpaceAfter,
    TabStop,
    // A control word that stands for one character (\tab, \bullet, \emdash, ...)
    Character,
};

struct KeywordInfo {
    Keyword keyword = Keyword::Unknown;
    char16_t character = 0; // Keyword::Character only
};

KeywordInfo lookupKeyword(QByteArrayView word);

} // namespace zerwa::rtf
