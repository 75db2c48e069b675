#include "link/portdevice.h"

#include <QDir>
#include <QFileInfo>

namespace zerwa::portdevice {

QString portName(int port) {
    return QStringLiteral("COM") + QString::number(port);
}

QString devicePath(int port, const QString& startupFolder) {
#ifdef Q_OS_WIN
    Q_UNUSED(startupFolder);
    return portName(port);
#else
    const QString link = QDir(startupFolder).filePath(portName(port));
    const QFileInfo entry(link);
    if (entry.exists() || entry.isSymLink())
        return link;
    return QStringLiteral("/dev/ttyS") + QString::number(port - 1);
#endif
}

QString describe(int port, const QString& path) {
    const QString name = portName(port);
    if (path == name)
        return name;
    const QFileInfo entry(path);
    if (entry.isSymLink())
        return name + QStringLiteral(" (") + path + QStringLiteral(" -> ") + entry.symLinkTarget() +
               u')';
    return name + QStringLiteral(" (") + path + u')';
}

} // namespace zerwa::portdevice
