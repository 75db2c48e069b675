// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSerialPort>
#include <QString>

namespace zerwa::portdevice {

// The name the user knows a port by: "COM3".
QString portName(int port);

// The device that port `port` opens. On Windows the port name itself. Elsewhere the entry
// "COMn" in the start-up folder when there is one (a link to the real device, such as
// /dev/ttyUSB0, made by the user; a broken link is still used, so that its open fails and
// names it instead of reaching another device), otherwise /dev/ttyS<n-1>.
QString devicePath(int port, const QString& startupFolder);

// How a failure names the device: "COM3 (/dev/ttyS2)", with the link target for a link.
QString describe(int port, const QString& path);

// A port that cannot be opened, as the user reads it: "A soros port nem nyitható meg: " and
// the port as describe() names it, then on a line of its own why (a portproblem text).
QString openFailure(const QString& where, const QString& reason);
// Why Qt SerialPort could not open a device, as a portproblem text.
QString openFailureReason(QSerialPort::SerialPortError error, const QString& qtText);

// Where a port's path leads: the device itself, every link followed, or why it leads to
// none (a text for the user, empty when `device` is set).
struct Target {
    QString device;
    QString problem;
};
// Links are followed here so that the device is opened and locked under its own name: two
// folders with a COM1 link to the same adapter then share one lock.
Target resolve(const QString& path);

} // namespace zerwa::portdevice
