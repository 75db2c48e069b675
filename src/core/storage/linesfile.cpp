// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/linesfile.h"

#include "core/storage/windows1250.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zerwa::linesfile {

QStringList splitLines(const QString& text) {
    QStringList lines;
    QString current;
    bool lineOpen = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << current;
            current.clear();
            lineOpen = false;
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            current += c;
            lineOpen = true;
        }
    }
    if (lineOpen)
        lines << current;
    return lines;
}

QString joinLinesCrLf(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

std::optional<QStringList> read(const QString& path, QString* error) {
    QFile file(path);
    if (!file.exists()) {
        if (error)
            error->clear();
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return splitLines(windows1250::decode(file.readAll()));
}

bool write(const QString& path, const QStringList& lines, QString* error) {
    const auto bytes = windows1250::encode(joinLinesCrLf(lines));
    if (!bytes) {
        if (error)
            *error = QStringLiteral("A szöveg olyan karaktert tartalmaz, amely Windows-1250 "
                                    "kódolással nem írható.");
        return false;
    }
    return writeBytes(path, *bytes, error);
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error) {
    if (QFileInfo(path).isDir()) {
        if (error)
            *error = QStringLiteral("Ezen a néven mappa van.");
        return false;
    }
    // QSaveFile writes a temporary file in the same folder, syncs it and renames it over the
    // target only on commit. The explicit flush matters: a write that stops part-way (a full
    // disk, a file size limit) surfaces only there, and commit() alone would still rename the
    // cut-off file over the target and report success.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace zerwa::linesfile
