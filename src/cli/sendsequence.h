// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/serialport.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace zerwa {
class QtSerialPort;
}

namespace zerwa::cli {

class SendJournal;

// The download as the program makes it, for the command line: open the port, hold the line
// in break for 500 ms, release it, write every frame unit, and close the port once every
// byte has left the driver. On a terminal it shows how far the bytes are.
class SendSequence : public QObject {
    Q_OBJECT
public:
    static constexpr int kBreakMs = 500;

    // `journal` (optional) keeps the download's record.
    SendSequence(QtSerialPort& port, QByteArray frame, SendJournal* journal = nullptr,
                 QObject* parent = nullptr);

    // Opens the port and starts the break; throws SerialPortError when the port cannot be
    // opened or the break not given (the port is closed again then).
    void start();

signals:
    // The download is over: 0 when every unit left the line, 1 otherwise.
    void finished(int exitCode);

private:
    void sendFrame();
    void closePort(int unitsWritten);
    void report(int unitsWritten, const SerialPort::CloseResult& result);
    void showProgress();

    QtSerialPort& m_port;
    QByteArray m_frame;
    SendJournal* m_journal;
    QTimer m_breakTimer;
    QTimer m_progressTimer;
    bool m_showProgress = false;
};

} // namespace zerwa::cli
