// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/closetimelimit.h"
#include "core/link/devicelock.h"
#include "core/link/serialport.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <memory>

namespace zerwa {

class DriverDrain;

// The serial port on Qt SerialPort. A "COMn" link is followed to its device, which is opened
// under its own name and held for this program alone.
//
// Closing first hands Qt's own write buffer to the driver (QSerialPort::close() would discard
// it) and then waits, on a helper thread, until the driver has sent everything; only then is
// the port released. The event loop keeps running while the line drains (about 1.6 s for 381
// bytes at 2400 baud). A line that has not drained within the close time limit is given up:
// what is still queued is dropped, so that neither the close nor the kernel's own close
// waits on it, and the port is released.
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    // Port n opens the device portdevice::devicePath(n, startupFolder) names.
    explicit QtSerialPort(QString startupFolder, QObject* parent = nullptr);
    // A close under way, or the port still open, is finished within the close time limit, so
    // that no queued byte is lost to a line that is merely slow.
    ~QtSerialPort() override;

    void selectPort(int number) override;
    // The next open uses this device itself instead of the selected port's; an empty path
    // goes back to the port number.
    void selectDevice(const QString& path);
    int selectedPort() const override { return m_portNumber; }
    void open() override;
    bool isOpen() const override { return m_port.isOpen(); }
    bool setBreak(bool on) override;
    bool write(const QByteArray& bytes) override;
    void close(CloseHandler done) override;

    void setCloseTimeLimit(CloseTimeLimit limit) { m_closeTimeLimit = limit; }
    QString openDevice() const override { return m_openDevice; }
    // Bytes written but not yet on the line (in Qt's buffer or the driver's), while open.
    qint64 bytesNotSent() const;

private:
    enum class DriverState { Room, Full, Failed };

    void startClose();
    void continueClose();
    void handToDriver();
    void giveUp();
    void release(qint64 undelivered, bool timedOut);
    void waitForProgress();
    // How a failure names the port: "COM3 (...)", or a device chosen by its path as it is.
    QString describe(int port, const QString& path) const;
    DriverState driverState() const;
    qint64 driverQueue() const; // bytes the driver still holds, -1 when unknown

    QSerialPort m_port;
    DeviceLock m_deviceLock;
    QString m_startupFolder;
    CloseTimeLimit m_closeTimeLimit;
    QString m_device; // chosen by path; empty: by port number
    int m_portNumber = 1;
    QString m_openName;   // the open port as failures name it, by describe()
    QString m_openDevice; // the device it leads to
    qint64 m_queued = 0;  // bytes written since open
    bool m_closing = false;
    CloseHandler m_closeHandler;
    QDeadlineTimer m_closeDeadline;
    QTimer m_closeTimer; // looks at the line again while the close waits for it
    std::unique_ptr<DriverDrain> m_drain;
};

} // namespace zerwa
