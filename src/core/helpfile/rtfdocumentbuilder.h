// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/helpfile/rtfcodepage.h"
#include "core/helpfile/rtfdocument.h"

#include <QByteArray>
#include <QByteArrayView>

namespace zerwa::rtf {

// Collects the text of a rich-text file into paragraphs and runs. Bytes wait until the
// format or the code page changes, so that a character written as several bytes is decoded
// whole; neighbouring text with the same format ends up in one run.
//
// The document is kept to a size that a viewer shows at once, whatever the file: text past
// any of the limits below is left out (a real help text stays far below them).
class DocumentBuilder {
public:
    static constexpr qsizetype kMaxCharacters = 1'000'000;
    static constexpr qsizetype kMaxRuns = 50'000;
    static constexpr qsizetype kMaxParagraphs = 50'000;

    void appendBytes(QByteArrayView bytes, int codePage, const CharFormat& format,
                     const ParagraphFormat& paragraph);
    void appendText(const QString& text, const CharFormat& format,
                    const ParagraphFormat& paragraph);
    // Ends the current paragraph, which takes the given layout.
    void endParagraph(const ParagraphFormat& paragraph);
    // The document so far; a last paragraph without text (after a final paragraph end) is
    // left out.
    Document finish();

private:
    void flushBytes();
    void addToParagraph(QString text, const CharFormat& format);
    void closeParagraph();
    void cleanParagraph();

    CodePageDecoder m_decoder;
    QByteArray m_pendingBytes;
    int m_pendingCodePage = 0;
    CharFormat m_pendingFormat;
    Document m_document;
    Paragraph m_paragraph;
    qsizetype m_characters = 0;
    qsizetype m_runs = 0;
    bool m_full = false;
};

} // namespace zerwa::rtf
