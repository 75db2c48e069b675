// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/helpfile/rtfcodepage.h"
#include "core/helpfile/rtfdocument.h"
#include "core/helpfile/rtfkeywords.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

#include <optional>

namespace zerwa::rtf {

// The font table and the colour table of a rich-text file, read as the parser meets them:
// font numbers with their names and character sets, and the colours by their index.
class HeaderTables {
public:
    // Font table
    void startFontTable();
    void defineFont(int number);
    void setFontCharset(int charset);
    // Text of the font table: the font's name up to its ';'. The name is decoded in the code
    // page of its own character set, or else the document's.
    void addFontTableBytes(QByteArrayView bytes, int documentCodePage);
    void finishFontName(int documentCodePage);

    // Colour table: entries end with ';'; an entry without components is the automatic colour.
    void startColorTable();
    void setColorComponent(Keyword component, int value);
    void addColorTableBytes(QByteArrayView bytes);

    QString fontFamily(int number) const { return m_fonts.value(number).name; }
    // The code page text in that font is written in.
    int codePageOfFont(int number, int documentCodePage) const;
    // Nothing for the automatic colour and for an index the table does not have.
    std::optional<Color> color(int index) const;

private:
    struct FontEntry {
        int charset = 0;
        QString name;
    };

    QHash<int, FontEntry> m_fonts;
    int m_fontBeingDefined = -1;
    QByteArray m_fontNameBytes;
    CodePageDecoder m_nameDecoder;

    QList<std::optional<Color>> m_colors;
    Color m_colorBeingDefined;
    bool m_colorHasComponents = false;
};

} // namespace zerwa::rtf
