// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/helpfile/rtftokenizer.h"

#include <limits>

namespace zerwa::rtf {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

Tokenizer::Token makeToken(Tokenizer::Kind kind) {
    Tokenizer::Token result;
    result.kind = kind;
    return result;
}

} // namespace

Tokenizer::Tokenizer(QByteArrayView input)
    : m_input(input) {}

Tokenizer::Token Tokenizer::next() {
    while (m_pos < m_input.size()) {
        const char c = m_input[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            return makeToken(Kind::GroupStart);
        case '}':
            ++m_pos;
            return makeToken(Kind::GroupEnd);
        case '\\':
            if (auto token = readControl())
                return *token;
            continue;
        case '\r':
        case '\n':
            ++m_pos; // line ends in the file carry no meaning
            continue;
        default:
            return readText();
        }
    }
    return makeToken(Kind::End);
}

Tokenizer::Token Tokenizer::readText() {
    const qsizetype start = m_pos;
    while (m_pos < m_input.size()) {
        const char c = m_input[m_pos];
        if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    Token token = makeToken(Kind::Text);
    token.text = m_input.sliced(start, m_pos - start);
    return token;
}

std::optional<Tokenizer::Token> Tokenizer::readControl() {
    ++m_pos; // the backslash
    if (m_pos >= m_input.size())
        return makeToken(Kind::End);
    const char c = m_input[m_pos];
    if (isLetter(c))
        return readControlWord();
    ++m_pos;
    if (c == '\'') {
        const int high = m_pos < m_input.size() ? hexValue(m_input[m_pos]) : -1;
        const int low = m_pos + 1 < m_input.size() ? hexValue(m_input[m_pos + 1]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt; // a broken escape stands for nothing
        m_pos += 2;
        Token token = makeToken(Kind::HexByte);
        token.byte = static_cast<unsigned char>(high * 16 + low);
        return token;
    }
    Token token = makeToken(Kind::ControlSymbol);
    token.symbol = c;
    return token;
}

Tokenizer::Token Tokenizer::readControlWord() {
    const qsizetype start = m_pos;
    while (m_pos < m_input.size() && isLetter(m_input[m_pos]))
        ++m_pos;
    Token token = makeToken(Kind::ControlWord);
    token.word = m_input.sliced(start, qMin<qsizetype>(m_pos - start, kMaxWordLength));

    const bool negative =
        m_pos + 1 < m_input.size() && m_input[m_pos] == '-' && isDigit(m_input[m_pos + 1]);
    if (negative)
        ++m_pos;
    if (m_pos < m_input.size() && isDigit(m_input[m_pos])) {
        // Saturates instead of overflowing: no value in a sound file comes near the limit.
        long long value = 0;
        constexpr long long limit = std::numeric_limits<int>::max();
        while (m_pos < m_input.size() && isDigit(m_input[m_pos])) {
            value = qMin(value * 10 + (m_input[m_pos] - '0'), limit + 1);
            ++m_pos;
        }
        if (negative)
            value = -value;
        token.hasParameter = true;
        token.parameter =
            static_cast<int>(qBound<long long>(std::numeric_limits<int>::min(), value, limit));
    }
    if (m_pos < m_input.size() && m_input[m_pos] == ' ')
        ++m_pos; // the delimiting blank belongs to the control word

    if (token.word == "bin" && token.hasParameter && token.parameter > 0)
        m_pos += qMin<qsizetype>(token.parameter, m_input.size() - m_pos);
    return token;
}

} // namespace zerwa::rtf
