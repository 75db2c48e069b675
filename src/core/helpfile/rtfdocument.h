// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace zerwa::rtf {

// What the help viewer needs of a rich-text file, without any window class: paragraphs of
// text runs, each run with its character formatting, each paragraph with its own layout.

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

enum class VerticalPosition { Normal, Superscript, Subscript };

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    VerticalPosition position = VerticalPosition::Normal;
    int fontSizeHalfPoints = 24; // the rich-text default, 12 pt
    QString fontFamily;          // empty: the viewer's default font
    std::optional<Color> color;  // nothing: the viewer's default text colour
    friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

enum class Alignment { Left, Right, Center, Justify };

// Indents and spacing in twips (1/20 point), as the file gives them.
struct ParagraphFormat {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    QList<int> tabStops; // in the order given; at most kMaxTabStops
    static constexpr int kMaxTabStops = 64;
    friend bool operator==(const ParagraphFormat&, const ParagraphFormat&) = default;
};

// A stretch of text with one character format. Tabs are '\t', line breaks inside the
// paragraph QChar::LineSeparator; the text holds no other control character.
struct Run {
    QString text;
    CharFormat format;
};

struct Paragraph {
    QList<Run> runs;
    ParagraphFormat format;

    QString text() const {
        QString all;
        for (const Run& run : runs)
            all += run.text;
        return all;
    }
};

struct Document {
    QList<Paragraph> paragraphs;

    // The text of every paragraph, one line each (line breaks inside a paragraph as '\n').
    QString plainText() const {
        QStringList lines;
        for (const Paragraph& paragraph : paragraphs)
            lines << paragraph.text().replace(QChar::LineSeparator, QLatin1Char('\n'));
        return lines.join(QLatin1Char('\n'));
    }
};

} // namespace zerwa::rtf
