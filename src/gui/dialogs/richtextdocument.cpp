// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialogs/richtextdocument.h"

#include "core/helpfile/rtfdocument.h"
#include "core/helpfile/rtfdocumentbuilder.h"
#include "core/helpfile/rtfparser.h"
#include "core/storage/windows1250.h"

#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <utility>
#include <vector>

namespace zerwa::richtext {

namespace {

// Twips (1/20 point) to the document's pixels at 96 dots per inch.
qreal pixelsOfTwips(int twips) {
    return twips / 15.0;
}

Qt::Alignment alignmentOf(rtf::Alignment alignment) {
    switch (alignment) {
    case rtf::Alignment::Right:
        return Qt::AlignRight;
    case rtf::Alignment::Center:
        return Qt::AlignHCenter;
    case rtf::Alignment::Justify:
        return Qt::AlignJustify;
    case rtf::Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

QTextBlockFormat blockFormatOf(const rtf::ParagraphFormat& format) {
    QTextBlockFormat block;
    block.setAlignment(alignmentOf(format.alignment));
    block.setLeftMargin(pixelsOfTwips(format.leftIndent));
    block.setRightMargin(pixelsOfTwips(format.rightIndent));
    block.setTextIndent(pixelsOfTwips(format.firstLineIndent));
    block.setTopMargin(pixelsOfTwips(format.spaceBefore));
    block.setBottomMargin(pixelsOfTwips(format.spaceAfter));
    // Tab stops count from the left edge of the text. A hanging first line (a bullet or a
    // number) also has a tab stop at the left indent, where the wrapped lines start.
    QList<QTextOption::Tab> tabs;
    if (format.firstLineIndent < 0 && format.leftIndent > 0)
        tabs.append(QTextOption::Tab(pixelsOfTwips(format.leftIndent), QTextOption::LeftTab));
    for (const int stop : format.tabStops)
        tabs.append(QTextOption::Tab(pixelsOfTwips(stop), QTextOption::LeftTab));
    std::sort(tabs.begin(), tabs.end(), [](const QTextOption::Tab& a, const QTextOption::Tab& b) {
        return a.position < b.position;
    });
    block.setTabPositions(tabs);
    return block;
}

QTextCharFormat charFormatOf(const rtf::CharFormat& format) {
    QTextCharFormat chars;
    chars.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    chars.setFontItalic(format.italic);
    chars.setFontUnderline(format.underline);
    chars.setFontStrikeOut(format.strikeOut);
    chars.setFontPointSize(format.fontSizeHalfPoints / 2.0);
    if (!format.fontFamily.isEmpty())
        chars.setFontFamilies(QStringList{format.fontFamily});
    if (format.color)
        chars.setForeground(QColor(format.color->red, format.color->green, format.color->blue));
    switch (format.position) {
    case rtf::VerticalPosition::Superscript:
        chars.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        break;
    case rtf::VerticalPosition::Subscript:
        chars.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        break;
    case rtf::VerticalPosition::Normal:
        break;
    }
    return chars;
}

} // namespace

void load(QTextDocument& document, const QByteArray& fileBytes) {
    if (rtf::Parser::looksLikeRichText(fileBytes))
        fill(document, rtf::Parser::parse(fileBytes));
    else
        document.setPlainText(decodePlainText(fileBytes));
}

QString decodePlainText(const QByteArray& fileBytes) {
    static constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
    const QString text = fileBytes.startsWith(kUtf8Mark)
                             ? QString::fromUtf8(fileBytes.sliced(sizeof(kUtf8Mark) - 1))
                             : windows1250::decode(fileBytes);
    QString clean;
    clean.reserve(qMin(text.size(), rtf::DocumentBuilder::kMaxCharacters));
    for (const QChar c : text) {
        if (clean.size() >= rtf::DocumentBuilder::kMaxCharacters)
            break;
        const char16_t u = c.unicode();
        const bool control = u < 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F);
        if (!control || u == u'\t' || u == u'\n' || u == u'\r')
            clean += c;
    }
    return clean;
}

void fill(QTextDocument& document, const rtf::Document& content) {
    document.clear();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    // A help text uses a handful of character formats over and over: each is made once.
    std::vector<std::pair<rtf::CharFormat, QTextCharFormat>> made;
    auto charFormat = [&made](const rtf::CharFormat& format) {
        for (const auto& [source, chars] : made) {
            if (source == format)
                return chars;
        }
        made.emplace_back(format, charFormatOf(format));
        return made.back().second;
    };
    bool first = true;
    for (const rtf::Paragraph& paragraph : content.paragraphs) {
        const QTextBlockFormat block = blockFormatOf(paragraph.format);
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        for (const rtf::Run& run : paragraph.runs)
            cursor.insertText(run.text, charFormat(run.format));
    }
    cursor.endEditBlock();
}

} // namespace zerwa::richtext
