// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/helpfile/rtfparser.h"

namespace zerwa::rtf {

namespace {

constexpr int kMaxUnicodeSkipCount = 16;
constexpr int kMaxIndent = 31680; // 22 inches in twips

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// A toggle such as \b or \b0: on unless its parameter is 0.
bool toggleValue(const Tokenizer::Token& token) {
    return !token.hasParameter || token.parameter != 0;
}

int boundedTwips(const Tokenizer::Token& token) {
    return token.hasParameter ? qBound(-kMaxIndent, token.parameter, kMaxIndent) : 0;
}

} // namespace

bool Parser::looksLikeRichText(QByteArrayView bytes) {
    qsizetype start = 0;
    while (start < bytes.size() && isBlank(bytes[start]))
        ++start;
    return bytes.sliced(start).startsWith("{\\rtf");
}

Document Parser::parse(QByteArrayView bytes) {
    Parser parser(bytes);
    return parser.run();
}

Parser::Parser(QByteArrayView bytes)
    : m_tokenizer(bytes)
    , m_documentCodePage(kDefaultCodePage) {}

Document Parser::run() {
    for (;;) {
        const Tokenizer::Token token = m_tokenizer.next();
        if (token.kind == Tokenizer::Kind::Text || token.kind == Tokenizer::Kind::HexByte) {
            if (!m_groups.empty()) // nothing counts before the document's group opens
                collectText(token);
            continue;
        }
        // Only what follows may change the format or the destination of the text.
        flushText();
        if (token.kind == Tokenizer::Kind::End)
            break;
        if (token.kind == Tokenizer::Kind::GroupStart) {
            startGroup();
            continue;
        }
        if (token.kind == Tokenizer::Kind::GroupEnd) {
            if (!endGroup())
                break;
            continue;
        }
        if (m_groups.empty() || skipFallback())
            continue;
        if (token.kind == Tokenizer::Kind::ControlWord)
            handleControlWord(token);
        else if (token.kind == Tokenizer::Kind::ControlSymbol)
            handleControlSymbol(token.symbol);
    }
    return m_builder.finish();
}

void Parser::collectText(const Tokenizer::Token& token) {
    if (token.kind == Tokenizer::Kind::HexByte) {
        if (!skipFallback())
            m_text.append(static_cast<char>(token.byte));
        return;
    }
    QByteArrayView text = token.text;
    while (!text.isEmpty() && m_fallbackToSkip > 0) {
        text = text.sliced(1);
        --m_fallbackToSkip;
    }
    m_text.append(text);
}

void Parser::flushText() {
    handleBytes(m_text);
    m_text.resize(0); // keeps its room for the next piece
}

bool Parser::skipFallback() {
    if (m_fallbackToSkip <= 0)
        return false;
    --m_fallbackToSkip;
    return true;
}

void Parser::startGroup() {
    m_fallbackToSkip = 0;
    if (m_groups.empty()) {
        m_groups.push_back(GroupState());
        return;
    }
    if (int(m_groups.size()) >= kMaxGroupDepth) {
        ++m_groupsPastLimit;
        return;
    }
    m_groups.push_back(m_groups.back());
}

bool Parser::endGroup() {
    m_fallbackToSkip = 0;
    if (m_groupsPastLimit > 0) {
        --m_groupsPastLimit;
        return true;
    }
    if (m_groups.empty())
        return true; // a stray closing brace before the document starts
    if (state().destination == Destination::FontTable)
        m_tables.finishFontName(m_documentCodePage);
    m_groups.pop_back();
    return !m_groups.empty();
}

void Parser::handleControlSymbol(char symbol) {
    switch (symbol) {
    case '*':
        // An ignorable destination: a reader that does not know it leaves the group out.
        state().destination = Destination::Skipped;
        return;
    case '\r':
    case '\n':
        if (state().destination == Destination::Text)
            m_builder.endParagraph(state().paragraph);
        return;
    case '~':
        appendCharacter(0x00A0);
        return;
    case '-':
        appendCharacter(0x00AD);
        return;
    case '_':
        appendCharacter(0x2011);
        return;
    case '\\':
    case '{':
    case '}': {
        handleBytes(QByteArrayView(&symbol, 1));
        return;
    }
    default:
        return;
    }
}

void Parser::handleControlWord(const Tokenizer::Token& token) {
    const KeywordInfo info = lookupKeyword(token.word);
    GroupState& group = state();
    if (group.destination == Destination::Skipped)
        return;

    switch (info.keyword) {
    case Keyword::FontTable:
        group.destination = Destination::FontTable;
        m_tables.startFontTable();
        return;
    case Keyword::ColorTable:
        group.destination = Destination::ColorTable;
        m_tables.startColorTable();
        return;
    case Keyword::SkippedDestination:
        group.destination = Destination::Skipped;
        return;
    default:
        break;
    }

    if (group.destination == Destination::FontTable) {
        if (info.keyword == Keyword::Font && token.hasParameter) {
            m_tables.finishFontName(m_documentCodePage);
            m_tables.defineFont(token.parameter);
        } else if (info.keyword == Keyword::FontCharset && token.hasParameter) {
            m_tables.setFontCharset(token.parameter);
        }
        return;
    }
    if (group.destination == Destination::ColorTable) {
        m_tables.setColorComponent(info.keyword, token.hasParameter ? token.parameter : 0);
        return;
    }

    switch (info.keyword) {
    case Keyword::Ansi:
        return;
    case Keyword::AnsiCodePage:
        if (token.hasParameter && token.parameter > 0)
            m_documentCodePage = token.parameter;
        return;
    case Keyword::Mac:
        m_documentCodePage = 10000;
        return;
    case Keyword::Pc:
        m_documentCodePage = 437;
        return;
    case Keyword::Pca:
        m_documentCodePage = 850;
        return;
    case Keyword::DefaultFont:
        if (token.hasParameter)
            m_defaultFont = token.parameter;
        return;
    case Keyword::UnicodeSkipCount:
        if (token.hasParameter)
            group.unicodeSkipCount = qBound(0, token.parameter, kMaxUnicodeSkipCount);
        return;
    case Keyword::UnicodeChar: {
        if (!token.hasParameter)
            return;
        // Values above 32767 are written as negative numbers.
        const auto unit = static_cast<char16_t>(token.parameter & 0xFFFF);
        appendCharacter(unit >= 0xF000 && unit <= 0xF0FF
                            ? symbolCharacter(static_cast<unsigned char>(unit & 0xFF)).unicode()
                            : unit);
        m_fallbackToSkip = group.unicodeSkipCount;
        return;
    }
    case Keyword::ParagraphEnd:
        m_builder.endParagraph(group.paragraph);
        return;
    case Keyword::LineBreak:
        appendCharacter(QChar::LineSeparator);
        return;
    case Keyword::CellEnd:
        appendCharacter(u'\t');
        return;
    case Keyword::Character:
        appendCharacter(info.character);
        return;
    default:
        applyFormatting(info.keyword, token);
        return;
    }
}

void Parser::applyFormatting(Keyword keyword, const Tokenizer::Token& token) {
    GroupState& group = state();
    CharFormat& chars = group.chars;
    ParagraphFormat& paragraph = group.paragraph;
    switch (keyword) {
    case Keyword::Font:
        group.font = token.hasParameter ? token.parameter : -1;
        break;
    case Keyword::Plain:
        chars = CharFormat();
        group.font = -1;
        group.color = 0;
        break;
    case Keyword::Bold:
        chars.bold = toggleValue(token);
        break;
    case Keyword::Italic:
        chars.italic = toggleValue(token);
        break;
    case Keyword::Underline:
        chars.underline = toggleValue(token);
        break;
    case Keyword::UnderlineNone:
        chars.underline = false;
        break;
    case Keyword::StrikeOut:
        chars.strikeOut = toggleValue(token);
        break;
    case Keyword::Superscript:
        chars.position = VerticalPosition::Superscript;
        break;
    case Keyword::Subscript:
        chars.position = VerticalPosition::Subscript;
        break;
    case Keyword::NoSuperSub:
        chars.position = VerticalPosition::Normal;
        break;
    case Keyword::FontSize:
        // 1 to 1638 points, the range word processors offer.
        chars.fontSizeHalfPoints =
            token.hasParameter && token.parameter > 0 ? qBound(2, token.parameter, 3276) : 24;
        break;
    case Keyword::ForegroundColor:
        group.color = token.hasParameter ? token.parameter : 0;
        break;
    case Keyword::ParagraphDefaults:
        paragraph = ParagraphFormat();
        break;
    case Keyword::AlignLeft:
        paragraph.alignment = Alignment::Left;
        break;
    case Keyword::AlignRight:
        paragraph.alignment = Alignment::Right;
        break;
    case Keyword::AlignCenter:
        paragraph.alignment = Alignment::Center;
        break;
    case Keyword::AlignJustify:
        paragraph.alignment = Alignment::Justify;
        break;
    case Keyword::LeftIndent:
        paragraph.leftIndent = boundedTwips(token);
        break;
    case Keyword::RightIndent:
        paragraph.rightIndent = boundedTwips(token);
        break;
    case Keyword::FirstLineIndent:
        paragraph.firstLineIndent = boundedTwips(token);
        break;
    case Keyword::SpaceBefore:
        paragraph.spaceBefore = qMax(0, boundedTwips(token));
        break;
    case Keyword::SpaceAfter:
        paragraph.spaceAfter = qMax(0, boundedTwips(token));
        break;
    case Keyword::TabStop:
        if (token.hasParameter && paragraph.tabStops.size() < ParagraphFormat::kMaxTabStops)
            paragraph.tabStops.append(qMax(0, boundedTwips(token)));
        break;
    default:
        break;
    }
}

void Parser::handleBytes(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
    const GroupState& group = state();
    switch (group.destination) {
    case Destination::Text:
        m_builder.appendBytes(bytes, m_tables.codePageOfFont(fontOf(group), m_documentCodePage),
                              effectiveFormat(), group.paragraph);
        return;
    case Destination::FontTable:
        m_tables.addFontTableBytes(bytes, m_documentCodePage);
        return;
    case Destination::ColorTable:
        m_tables.addColorTableBytes(bytes);
        return;
    case Destination::Skipped:
        return;
    }
}

void Parser::appendCharacter(char16_t character) {
    if (state().destination == Destination::Text)
        m_builder.appendText(QString(QChar(character)), effectiveFormat(), state().paragraph);
}

CharFormat Parser::effectiveFormat() const {
    const GroupState& group = m_groups.back();
    CharFormat format = group.chars;
    format.fontFamily = m_tables.fontFamily(fontOf(group));
    format.color = m_tables.color(group.color);
    return format;
}

} // namespace zerwa::rtf
