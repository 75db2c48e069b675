// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

namespace zerwa {

// The serial port as the download uses it (MSComm1). The line settings are fixed: 2400 baud,
// 8 data bits, no parity, 1 stop bit, no flow control. Nothing is ever read from the port.
class SerialPort {
public:
    // How a close ended.
    struct CloseResult {
        // The queued bytes that could not be confirmed as sent (0 when every byte left).
        qint64 undeliveredBytes = 0;
        // The line did not drain in time: what was still queued was dropped.
        bool timedOut = false;
        // The port and its device, as the user knows them: "COM1 (/dev/ttyS0)".
        QString port;
    };
    // Called once the port has been released.
    using CloseHandler = std::function<void(const CloseResult& result)>;

    virtual ~SerialPort() = default;

    // The next open uses port `number`; an open port stays on the device it opened.
    virtual void selectPort(int number) = 0;
    virtual int selectedPort() const = 0;

    // Opens the selected port with the line settings, for this program alone, or throws
    // SerialPortError with a message that names the device (no such device, in use, no
    // permission, already open, still closing); nothing changes then.
    virtual void open() = 0;
    // True from a successful open until the close has released the port.
    virtual bool isOpen() const = 0;
    // The device the port is open on, every link followed (empty while closed).
    virtual QString openDevice() const = 0;

    // Holds the transmit line in the spacing state (on) or returns it to idle (off).
    virtual bool setBreak(bool on) = 0;
    // Queues the bytes in order, zero bytes included, without waiting for the line.
    virtual bool write(const QByteArray& bytes) = 0;
    // Lets every queued byte leave the line, then releases the port and calls `done` (right
    // away or later from the event loop). The user interface keeps running meanwhile. A line
    // that does not drain within a limit set by the bytes queued is released all the same.
    virtual void close(CloseHandler done) = 0;
};

} // namespace zerwa
