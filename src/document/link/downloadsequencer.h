// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/link/serialport.h"

#include <QString>

class QTimer;

namespace zerwa {

struct EditContext;
class SerialPort;

// The download in two steps on the user-interface thread. The click checks the map, opens
// the port and holds the line in break; the tick of the timer (500 ms later) releases the
// break, sends every frame unit and closes the port, and the outcome is reported once the
// bytes have left the line.
class DownloadSequencer {
public:
    static const QString kDataError;
    static const QString kDone;
    static const QString kFailed; // followed by the number of units sent
    // The line did not drain in time and the port was released all the same; %1 names it.
    static const QString kCloseTimedOut;

    // `timer` is Timer1: 500 ms, fired once per download.
    DownloadSequencer(EditContext& context, SerialPort& port, QTimer& timer);

    // LetoltBtnClick
    void start();
    // Timer1Timer
    void tick();

private:
    bool mapPassesCheck() const;
    void refuse();
    void send();
    void report(int unitsWritten, const SerialPort::CloseResult& result);

    EditContext& m_context;
    SerialPort& m_port;
    QTimer& m_timer;
    bool m_waitingForTick = false; // between a click that opened the port and its tick
};

} // namespace zerwa
