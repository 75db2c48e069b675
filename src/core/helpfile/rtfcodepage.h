// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>

class QStringDecoder;

namespace zerwa::rtf {

// Code page numbers as rich-text files name them (\ansicpg1250, or through a font's
// character set). The programs' own code page comes first: it is also the default, since a
// file that names none was written on a system whose code page is Windows-1250.
constexpr int kDefaultCodePage = 1250;
// Not a real code page: the bytes of a symbol font (\fcharset2), where bullets live.
constexpr int kSymbolCodePage = 42;

// The code page of a font's character set; 0 (ANSI) and 1 (default) and unknown sets mean
// the document's own code page.
int codePageOfCharset(int charset, int documentCodePage);

// A character of a symbol font, by its byte (also reached as U+F0xx through \uN).
QChar symbolCharacter(unsigned char byte);

// Turns the bytes of one code page into text. Windows-1250 and the symbol fonts are decoded
// here; other code pages through the platform's converters when it has them, otherwise as
// Windows-1250.
class CodePageDecoder {
public:
    CodePageDecoder();
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    QString decode(const QByteArray& bytes, int codePage);

private:
    QStringDecoder* converterFor(int codePage);

    std::map<int, std::unique_ptr<QStringDecoder>> m_converters;
};

} // namespace zerwa::rtf
