// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/console.h"

#include <QRegularExpression>

#include <cstdio>
#include <unistd.h>

namespace zerwa::cli {

namespace {

void put(std::FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

void printLine(const QString& text) {
    put(stdout, text.toLocal8Bit() + '\n');
}

void printError(const QString& text) {
    std::fflush(stdout);
    put(stderr, text.toLocal8Bit() + '\n');
}

void writeRaw(const QByteArray& bytes) {
    put(stdout, bytes);
    std::fflush(stdout);
}

bool errorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void printProgress(const QString& text) {
    put(stderr, "\r\x1b[K" + text.toLocal8Bit());
    std::fflush(stderr);
}

QString oneLine(const QString& message) {
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]+ *"));
    return QString(message).replace(lineBreak, QStringLiteral(" "));
}

} // namespace zerwa::cli
