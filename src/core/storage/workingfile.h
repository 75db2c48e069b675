// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zerwa::workingfile {

// The port confirmation's update of a working file or port file: when the file exists, its
// line 2 becomes `port` (appended to a file of one line; a file without lines stays as it
// is); all other lines are kept. A missing file is not created. Returns false, with the
// reason in `error`, only when an existing file could not be read or written.
bool updatePortLine(const QString& path, const QString& port, QString* error = nullptr);

// The save command's record for the next start: exactly two lines, the saved map file's name
// and the port, replacing whatever the file held. On failure the previous file is kept and
// `error` says why.
bool writeAfterSave(const QString& path, const QString& mapFileName, const QString& port,
                    QString* error = nullptr);

// Whether a map file name survives the trip through the working file unchanged: the file is
// Windows-1250, and a name with another character would come back as a different path.
bool canRecordMapFileName(const QString& mapFileName);

} // namespace zerwa::workingfile
