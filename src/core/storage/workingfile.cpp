// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/workingfile.h"

#include "core/storage/linesfile.h"
#include "core/storage/windows1250.h"

#include <QFileInfo>

namespace zerwa::workingfile {

bool updatePortLine(const QString& path, const QString& port, QString* error) {
    if (!QFileInfo::exists(path))
        return true;
    auto lines = linesfile::read(path, error);
    if (!lines)
        return false;
    if (lines->size() == 1)
        lines->append(port);
    else if (lines->size() >= 2)
        (*lines)[1] = port;
    return linesfile::write(path, *lines, error);
}

bool writeAfterSave(const QString& path, const QString& mapFileName, const QString& port,
                    QString* error) {
    return linesfile::write(path, {mapFileName, port}, error);
}

bool canRecordMapFileName(const QString& mapFileName) {
    // A line break would split the name over two lines of the file.
    return windows1250::canEncode(mapFileName) && !mapFileName.contains(u'\n') &&
           !mapFileName.contains(u'\r');
}

} // namespace zerwa::workingfile
