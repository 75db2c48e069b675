// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zerwa {

// Holds a serial device for this program alone while a download uses it. Qt's own lock file
// and exclusive mode do not stop an opener that runs as root, nor a program that opened the
// device under another name; an advisory lock on the device itself and a look at the
// device's exclusive mode do. Elsewhere than on Unix the system's port is exclusive anyway.
class DeviceLock {
public:
    DeviceLock() = default;
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // Takes `device` (a resolved device path); false when another program holds it or it
    // cannot be opened, with the reason in errorString().
    bool acquire(const QString& device);
    void release();
    // Lets go of the device without waiting for it. The last close of a serial device waits
    // for its driver to drain (30 s by default), which a line that was given up must not
    // make the program do; the device stays taken until that close has ended.
    void abandon();
    QString errorString() const { return m_error; }

private:
    bool fail(const QString& reason);

    int m_handle = -1;
    QString m_error;
};

} // namespace zerwa
