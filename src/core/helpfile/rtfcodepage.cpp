// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/helpfile/rtfcodepage.h"

#include "core/storage/windows1250.h"

#include <QStringDecoder>

namespace zerwa::rtf {

namespace {

// The converter names of the code pages a rich-text file may name; nothing for the rest.
const char* converterName(int codePage) {
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 866:
        return "IBM866";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1251:
        return "windows-1251";
    case 1252:
        return "windows-1252";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

} // namespace

int codePageOfCharset(int charset, int documentCodePage) {
    switch (charset) {
    case 2:
        return kSymbolCodePage;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return documentCodePage;
    }
}

QChar symbolCharacter(unsigned char byte) {
    switch (byte) {
    case 0xA7:
        return QChar(0x25AA); // small square (Wingdings bullet)
    case 0xB7:
        return QChar(0x2022); // bullet (Symbol bullet)
    case 0xD8:
        return QChar(0x27A2); // arrowhead (Wingdings bullet)
    case 0xFC:
        return QChar(0x2713); // check mark (Wingdings bullet)
    default:
        return QChar(byte);
    }
}

CodePageDecoder::CodePageDecoder() = default;
CodePageDecoder::~CodePageDecoder() = default;

QString CodePageDecoder::decode(const QByteArray& bytes, int codePage) {
    if (codePage == kSymbolCodePage) {
        QString text;
        text.reserve(bytes.size());
        for (const char byte : bytes)
            text += symbolCharacter(static_cast<unsigned char>(byte));
        return text;
    }
    if (QStringDecoder* converter = converterFor(codePage)) {
        converter->resetState();
        return converter->decode(bytes);
    }
    return windows1250::decode(bytes);
}

QStringDecoder* CodePageDecoder::converterFor(int codePage) {
    const char* name = converterName(codePage);
    if (!name)
        return nullptr;
    auto found = m_converters.find(codePage);
    if (found == m_converters.end()) {
        auto converter = std::make_unique<QStringDecoder>(name, QStringDecoder::Flag::Stateless);
        if (!converter->isValid())
            converter.reset();
        found = m_converters.emplace(codePage, std::move(converter)).first;
    }
    return found->second.get();
}

} // namespace zerwa::rtf
