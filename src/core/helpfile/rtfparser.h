// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/helpfile/rtfdocument.h"
#include "core/helpfile/rtfdocumentbuilder.h"
#include "core/helpfile/rtfheadertables.h"
#include "core/helpfile/rtfkeywords.h"
#include "core/helpfile/rtftokenizer.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace zerwa::rtf {

// Reads rich text into a Document. It reads whatever it is given without failing: unknown
// control words are ignored, a file that ends early yields what was read, text after the
// document's outermost group is ignored, and groups nested deeper than kMaxGroupDepth share
// the formatting of the deepest one kept (so memory stays bounded and nothing recurses).
class Parser {
public:
    static constexpr int kMaxGroupDepth = 256;

    // True when the bytes, after leading blanks, start with "{\rtf": the mark every rich-text
    // file begins with. Anything else is plain text.
    static bool looksLikeRichText(QByteArrayView bytes);

    static Document parse(QByteArrayView bytes);

private:
    enum class Destination { Text, Skipped, FontTable, ColorTable };

    struct GroupState {
        CharFormat chars; // family and colour come from the two indexes below
        ParagraphFormat paragraph;
        int font = -1; // -1: the document's default font
        int color = 0;
        int unicodeSkipCount = 1;
        Destination destination = Destination::Text;
    };

    explicit Parser(QByteArrayView bytes);
    Document run();

    // Text and escaped bytes are gathered up to the next token of another kind, and handed on
    // in one piece: a help text has thousands of them, each line and accented letter apart.
    void collectText(const Tokenizer::Token& token);
    void flushText();
    void startGroup();
    bool endGroup(); // false once the outermost group has ended
    void handleControlWord(const Tokenizer::Token& token);
    void handleControlSymbol(char symbol);
    void handleBytes(QByteArrayView bytes);
    void applyFormatting(Keyword keyword, const Tokenizer::Token& token);
    void appendCharacter(char16_t character);
    bool skipFallback(); // true when the token is a fallback character to leave out

    GroupState& state() { return m_groups.back(); }
    CharFormat effectiveFormat() const;
    int fontOf(const GroupState& group) const {
        return group.font >= 0 ? group.font : m_defaultFont;
    }

    Tokenizer m_tokenizer;
    DocumentBuilder m_builder;
    std::vector<GroupState> m_groups;
    int m_groupsPastLimit = 0;
    int m_documentCodePage;
    int m_defaultFont = 0;
    int m_fallbackToSkip = 0;
    QByteArray m_text;
    HeaderTables m_tables;
};

} // namespace zerwa::rtf
