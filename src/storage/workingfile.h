#pragma once

#include <QString>

namespace zerwa::workingfile {

// The port confirmation's update of a working file or port file: when the file exists, its
// line 2 becomes `port` (appended to a file of one line; a file without lines stays as it
// is); all other lines are kept. A missing file is not created. Returns false, with the
// reason in `error`, only when an existing file could not be read or written.
bool updatePortLine(const QString& path, const QString& port, QString* error = nullptr);

} // namespace zerwa::workingfile
