// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/helpfile/rtfdocumentbuilder.h"

#include <algorithm>
#include <utility>

namespace zerwa::rtf {

namespace {

// A character that cleanText drops or replaces (or, for a surrogate, may have to).
bool needsCleaning(QChar c) {
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || (u >= 0x7F && u <= 0x9F) || c.isSurrogate() ||
           c == QChar::ParagraphSeparator;
}

// Keeps tabs and line breaks; drops the other control characters and replaces a half of a
// surrogate pair that stands alone, so the viewer never sees text that is not text.
QString cleanText(const QString& text) {
    if (std::none_of(text.begin(), text.end(), needsCleaning))
        return text; // as nearly every run is
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            clean += c;
            clean += text.at(++i);
        } else if (c.isSurrogate()) {
            clean += QChar::ReplacementCharacter;
        } else if (c == QChar::ParagraphSeparator) {
            clean += QChar::LineSeparator;
        } else if (c == u'\t' || c.unicode() >= 0x20) {
            if (c.unicode() < 0x7F || c.unicode() > 0x9F)
                clean += c;
        }
    }
    return clean;
}

// Bytes of one format wait at most this long before they are decoded; a longer wait ends
// at an ASCII byte, so that a character written as several bytes is not cut.
constexpr qsizetype kPendingChunk = 64 * 1024;

} // namespace

void DocumentBuilder::appendBytes(QByteArrayView bytes, int codePage, const CharFormat& format,
                                  const ParagraphFormat& paragraph) {
    if (bytes.isEmpty() || m_full)
        return;
    if (!m_pendingBytes.isEmpty() && (codePage != m_pendingCodePage || format != m_pendingFormat))
        flushBytes();
    if (m_pendingBytes.size() >= kPendingChunk &&
        (static_cast<unsigned char>(m_pendingBytes.back()) < 0x80 ||
         m_pendingBytes.size() >= 2 * kPendingChunk))
        flushBytes();
    m_pendingBytes.append(bytes);
    m_pendingCodePage = codePage;
    m_pendingFormat = format;
    m_paragraph.format = paragraph;
}

void DocumentBuilder::appendText(const QString& text, const CharFormat& format,
                                 const ParagraphFormat& paragraph) {
    if (m_full)
        return;
    flushBytes();
    addToParagraph(text, format);
    m_paragraph.format = paragraph;
}

void DocumentBuilder::endParagraph(const ParagraphFormat& paragraph) {
    if (m_full)
        return;
    flushBytes();
    m_paragraph.format = paragraph;
    closeParagraph();
}

Document DocumentBuilder::finish() {
    flushBytes();
    cleanParagraph();
    if (!m_paragraph.runs.isEmpty())
        m_document.paragraphs.append(std::exchange(m_paragraph, {}));
    return std::exchange(m_document, {});
}

void DocumentBuilder::flushBytes() {
    if (m_pendingBytes.isEmpty())
        return;
    addToParagraph(m_decoder.decode(m_pendingBytes, m_pendingCodePage), m_pendingFormat);
    m_pendingBytes.resize(0); // keeps its room
}

void DocumentBuilder::addToParagraph(QString text, const CharFormat& format) {
    if (text.isEmpty() || m_full)
        return;
    if (m_characters + text.size() >= kMaxCharacters) {
        text.truncate(kMaxCharacters - m_characters);
        m_full = true;
    }
    m_characters += text.size();
    if (!m_paragraph.runs.isEmpty() && m_paragraph.runs.last().format == format) {
        m_paragraph.runs.last().text += text;
        return;
    }
    m_paragraph.runs.append({text, format});
    if (++m_runs >= kMaxRuns)
        m_full = true;
}

void DocumentBuilder::closeParagraph() {
    cleanParagraph();
    m_document.paragraphs.append(std::exchange(m_paragraph, {}));
    if (m_document.paragraphs.size() >= kMaxParagraphs)
        m_full = true;
}

void DocumentBuilder::cleanParagraph() {
    // Only now: the two halves of a surrogate pair may arrive in separate pieces.
    for (Run& run : m_paragraph.runs)
        run.text = cleanText(run.text);
    m_paragraph.runs.removeIf([](const Run& run) { return run.text.isEmpty(); });
}

} // namespace zerwa::rtf
