// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/hexdump.h"

namespace zerwa::cli {

namespace {

constexpr int kBytesPerLine = 16;

QString hexPair(char byte) {
    return QString::number(quint8(byte), 16).rightJustified(2, u'0').toUpper();
}

} // namespace

QString hexLines(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            text += i % kBytesPerLine == 0 ? u'\n' : u' ';
        text += hexPair(bytes.at(i));
    }
    return text;
}

QString hexByte(char byte) {
    return QStringLiteral("0x") + hexPair(byte);
}

} // namespace zerwa::cli
