// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zerwa::linesfile {

// Splits text into lines; CR LF, CR alone and LF alone each end a line. A line end after
// the last line does not start another (empty) line.
QStringList splitLines(const QString& text);

// Every line followed by CR LF, the last one too.
QString joinLinesCrLf(const QStringList& lines);

// Reads a Windows-1250 text file as lines. Nothing when no such file exists or it cannot be
// read; `error` (optional) then says why, empty for a file that does not exist.
std::optional<QStringList> read(const QString& path, QString* error = nullptr);

// Writes the lines as Windows-1250 with CR LF. The file is replaced only once the new content
// is safely on disk, so a failure leaves the previous file as it was. On failure returns false
// and says why in `error` (optional).
bool write(const QString& path, const QStringList& lines, QString* error = nullptr);

// Writes bytes the same safe way (shared by every file the programs write).
bool writeBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace zerwa::linesfile
