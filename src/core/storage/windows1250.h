// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace zerwa::windows1250 {

// Every file the programs read or write is single-byte Windows-1250; inside, text is Unicode.
// The five byte values the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) map to
// the control characters of the same number, so every byte sequence survives a round trip.

QString decode(const QByteArray& bytes);

// Nothing when the text holds a character that Windows-1250 cannot carry.
std::optional<QByteArray> encode(const QString& text);

// True when encode() would succeed.
bool canEncode(const QString& text);

} // namespace zerwa::windows1250
