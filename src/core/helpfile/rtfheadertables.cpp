// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/helpfile/rtfheadertables.h"

namespace zerwa::rtf {

namespace {

constexpr qsizetype kMaxFontNameBytes = 256;

} // namespace

void HeaderTables::startFontTable() {
    m_fontBeingDefined = -1;
    m_fontNameBytes.clear();
}

void HeaderTables::defineFont(int number) {
    m_fontNameBytes.clear();
    m_fontBeingDefined = number;
    m_fonts.insert(number, FontEntry());
}

void HeaderTables::setFontCharset(int charset) {
    if (m_fontBeingDefined >= 0)
        m_fonts[m_fontBeingDefined].charset = charset;
}

void HeaderTables::addFontTableBytes(QByteArrayView bytes, int documentCodePage) {
    for (const char byte : bytes) {
        if (byte == ';')
            finishFontName(documentCodePage);
        else if (m_fontBeingDefined >= 0 && m_fontNameBytes.size() < kMaxFontNameBytes)
            m_fontNameBytes += byte;
    }
}

void HeaderTables::finishFontName(int documentCodePage) {
    if (m_fontBeingDefined >= 0 && !m_fontNameBytes.isEmpty()) {
        FontEntry& font = m_fonts[m_fontBeingDefined];
        if (font.name.isEmpty()) {
            // A symbol font's name is still written in the document's code page.
            int codePage = codePageOfCharset(font.charset, documentCodePage);
            if (codePage == kSymbolCodePage)
                codePage = documentCodePage;
            font.name = m_nameDecoder.decode(m_fontNameBytes, codePage).trimmed();
        }
    }
    m_fontNameBytes.clear();
}

int HeaderTables::codePageOfFont(int number, int documentCodePage) const {
    const auto found = m_fonts.constFind(number);
    if (found == m_fonts.cend())
        return documentCodePage;
    return codePageOfCharset(found->charset, documentCodePage);
}

void HeaderTables::startColorTable() {
    m_colors.clear();
    m_colorBeingDefined = {};
    m_colorHasComponents = false;
}

void HeaderTables::setColorComponent(Keyword component, int value) {
    const auto level = static_cast<std::uint8_t>(qBound(0, value, 255));
    if (component == Keyword::Red)
        m_colorBeingDefined.red = level;
    else if (component == Keyword::Green)
        m_colorBeingDefined.green = level;
    else if (component == Keyword::Blue)
        m_colorBeingDefined.blue = level;
    else
        return;
    m_colorHasComponents = true;
}

void HeaderTables::addColorTableBytes(QByteArrayView bytes) {
    for (const char byte : bytes) {
        if (byte != ';')
            continue;
        m_colors.append(m_colorHasComponents ? std::optional<Color>(m_colorBeingDefined)
                                             : std::nullopt);
        m_colorBeingDefined = {};
        m_colorHasComponents = false;
    }
}

std::optional<Color> HeaderTables::color(int index) const {
    if (index < 0 || index >= m_colors.size())
        return std::nullopt;
    return m_colors.at(index);
}

} // namespace zerwa::rtf
