// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/devicelock.h"

#include "core/link/portproblem.h"

#include <QFile>

#include <thread>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace zerwa {

namespace {

#ifndef Q_OS_WIN
QString openErrorReason(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case EIO: // a serial port node with no hardware behind it
        return portproblem::kNoDevice;
    case EACCES:
    case EPERM:
    case EBUSY:
        return portproblem::kInUse;
    case EISDIR:
        return portproblem::kDirectory;
    case ELOOP:
        return portproblem::kLinkLoop;
    default:
        return QStringLiteral("Hiba: ") + QString::fromLocal8Bit(std::strerror(error));
    }
}
#endif

} // namespace

DeviceLock::~DeviceLock() {
    release();
}

bool DeviceLock::acquire(const QString& device) {
    release();
    m_error.clear();
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    return true;
#else
    // Non-blocking, so that a modem line waiting for carrier does not hold the open.
    m_handle =
        ::open(QFile::encodeName(device).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_handle < 0)
        return fail(openErrorReason(errno));
    if (!::isatty(m_handle))
        return fail(portproblem::kNotSerial);
    // Exclusive mode is a property of the device: set, another program has it open as its own
    // (root may open it all the same, so it is looked at rather than relied on).
    int exclusive = 0;
    if (::ioctl(m_handle, TIOCGEXCL, &exclusive) == 0 && exclusive)
        return fail(portproblem::kInUse);
    if (::flock(m_handle, LOCK_EX | LOCK_NB) != 0)
        return fail(errno == EWOULDBLOCK ? portproblem::kInUse : openErrorReason(errno));
    return true;
#endif
}

void DeviceLock::release() {
#ifndef Q_OS_WIN
    if (m_handle >= 0)
        ::close(m_handle);
#endif
    m_handle = -1;
}

void DeviceLock::abandon() {
#ifndef Q_OS_WIN
    if (m_handle >= 0)
        std::thread([handle = m_handle] { ::close(handle); }).detach();
#endif
    m_handle = -1;
}

bool DeviceLock::fail(const QString& reason) {
    release();
    m_error = reason;
    return false;
}

} // namespace zerwa
