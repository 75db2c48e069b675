// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace zerwa::cli {

// Bytes as upper-case hex pairs, 16 to a line, separated by blanks (xxd -r -p reads it back).
QString hexLines(const QByteArray& bytes);

// One byte as "0x8F".
QString hexByte(char byte);

} // namespace zerwa::cli
