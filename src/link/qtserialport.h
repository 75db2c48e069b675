#pragma once

#include "link/serialport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <thread>

namespace zerwa {

// The serial port on Qt SerialPort. Closing first hands Qt's own write buffer to the driver
// (QSerialPort::close() would discard it) and then waits, on a helper thread, until the
// driver has sent everything; only then is the port released. The event loop keeps running
// while the line drains (about 1.6 s for 381 bytes at 2400 baud).
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    // Port n opens the device portdevice::devicePath(n, startupFolder) names.
    explicit QtSerialPort(QString startupFolder, QObject* parent = nullptr);
    // A drain still running is waited for, so no queued byte is lost.
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

    // The device the port is open on (empty while closed).
    QString openDevice() const { return m_openDevice; }
    // Bytes written but not yet on the line (in Qt's buffer or the driver's), while open.
    qint64 bytesNotSent() const;

private:
    enum class DriverState { Room, Full, Failed };

    void handToDriver();
    void startDriverDrain();
    void driverDrained(bool ok);
    void release(qint64 undelivered);
    QString describe(const QString& device) const;
    DriverState driverState() const;
    qint64 driverQueue() const; // bytes the driver still holds, -1 when unknown

    QSerialPort m_port;
    QString m_startupFolder;
    QString m_openDevice;
    QString m_device; // chosen by path; empty: by port number
    int m_portNumber = 1;
    qint64 m_queued = 0; // bytes written since open
    qint64 m_handed = 0; // of those, handed to the driver
    bool m_closing = false;
    CloseHandler m_closeHandler;
    QTimer m_handTimer;            // while Qt's buffer waits for room in the driver
    QElapsedTimer m_sinceProgress; // since the driver last took bytes
    std::thread m_drain;
};

} // namespace zerwa
