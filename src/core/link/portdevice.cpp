// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/portdevice.h"

#include "core/link/portproblem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <sys/stat.h>
#endif

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

QString openFailure(const QString& where, const QString& reason) {
    return QStringLiteral("A soros port nem nyitható meg: ") + where + u'\n' + reason;
}

QString openFailureReason(QSerialPort::SerialPortError error, const QString& qtText) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return portproblem::kNoDevice;
    case QSerialPort::PermissionError:
        return portproblem::kInUse;
    case QSerialPort::OpenError:
        return portproblem::kAlreadyOpen;
    default:
        return QStringLiteral("Hiba: ") + qtText;
    }
}

Target resolve(const QString& path) {
#ifdef Q_OS_WIN
    return {path, {}};
#else
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        if (errno == ELOOP)
            return {{}, portproblem::kLinkLoop};
        return {{}, errno == EACCES ? portproblem::kInUse : portproblem::kNoDevice};
    }
    if (S_ISDIR(status.st_mode))
        return {{}, portproblem::kDirectory};
    if (!S_ISCHR(status.st_mode))
        return {{}, portproblem::kNotSerial};
    const QString device = QFileInfo(path).canonicalFilePath();
    return {device.isEmpty() ? path : device, {}};
#endif
}

} // namespace zerwa::portdevice
