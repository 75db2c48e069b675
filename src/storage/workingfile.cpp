#include "storage/workingfile.h"

#include "storage/linesfile.h"

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

} // namespace zerwa::workingfile
