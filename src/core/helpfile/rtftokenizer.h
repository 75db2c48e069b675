// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace zerwa::rtf {

// Splits rich-text bytes into groups, control words, control symbols, hex escapes and plain
// text. It never reads past the end of the input, whatever the input holds: a truncated
// escape or control word simply ends the input, and the data of \binN is skipped (at most
// to the end of the input) without being looked at.
class Tokenizer {
public:
    enum class Kind {
        End,
        GroupStart,    // {
        GroupEnd,      // }
        ControlWord,   // \word or \wordN
        ControlSymbol, // \ followed by one character that is not a letter
        HexByte,       // \'hh
        Text,          // bytes of text (line ends in the text are not part of it)
    };

    struct Token {
        Kind kind = Kind::End;
        QByteArrayView word; // ControlWord: the letters (at most kMaxWordLength of them)
        bool hasParameter = false;
        int parameter = 0;      // ControlWord: the number after the letters, saturated
        char symbol = 0;        // ControlSymbol: the character after the backslash
        unsigned char byte = 0; // HexByte
        QByteArrayView text;    // Text
    };

    static constexpr int kMaxWordLength = 32;

    explicit Tokenizer(QByteArrayView input);

    Token next();

private:
    std::optional<Token> readControl(); // nothing for an escape that stands for nothing
    Token readControlWord();
    Token readText();

    QByteArrayView m_input;
    qsizetype m_pos = 0;
};

} // namespace zerwa::rtf
