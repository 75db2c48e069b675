// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/outputguard.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zerwa::cli {

namespace {

// What makes a file itself, whatever name reaches it.
#ifdef Q_OS_WIN
using FileId = QString;

std::optional<FileId> idOf(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? std::nullopt : std::optional<FileId>(canonical.toLower());
}

std::optional<FileId> standardOutputId() {
    return std::nullopt;
}
#else
using FileId = std::pair<dev_t, ino_t>;

std::optional<FileId> idOf(const struct stat& status) {
    return FileId{status.st_dev, status.st_ino};
}

std::optional<FileId> idOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return idOf(status);
}

// Only a file: a terminal, a pipe or /dev/null is no input of anybody's.
std::optional<FileId> standardOutputId() {
    struct stat status {};
    if (::fstat(STDOUT_FILENO, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return idOf(status);
}
#endif

// The input that is the same file as `output`, or an empty text.
QString inputAt(const QStringList& inputs, const std::optional<FileId>& output) {
    if (!output)
        return {};
    for (const QString& input : inputs) {
        if (idOf(input) == output)
            return input;
    }
    return {};
}

} // namespace

QString outputOverInput(const QStringList& inputs, const QString& output) {
    const QString notWritten = QStringLiteral(" (the same file); nothing was written");
    if (!output.isEmpty()) {
        if (const QString input = inputAt(inputs, idOf(output)); !input.isEmpty())
            return QStringLiteral("the output %1 is the input %2").arg(output, input) + notWritten;
    }
    if (const QString input = inputAt(inputs, standardOutputId()); !input.isEmpty())
        return QStringLiteral("standard output goes to the input %1").arg(input) + notWritten;
    return {};
}

} // namespace zerwa::cli
