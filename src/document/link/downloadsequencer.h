// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalrecord.h"
#include "core/link/serialport.h"

#include <QString>

#include <functional>

class QTimer;

namespace zerwa {

class DownloadRecorder;
struct EditContext;
class SerialPort;

// The download in two steps on the user-interface thread. The click checks the map, opens
// the port and holds the line in break; the tick of the timer (500 ms later) builds the frame,
// releases the break, sends every frame unit and closes the port, and the outcome is reported
// once the bytes have left the line.
//
// Each download that opens the port leaves a record in the journal: written at the click once
// the line is in break, again at the tick while the line is still in break if the map has
// changed meanwhile (so the frame is built before the break is cleared), and with the outcome
// after the close, before its message. A record that cannot be written stops nothing: one
// more message after the download's own says so.
class DownloadSequencer {
public:
    static const QString kDataError;
    static const QString kDone;
    static const QString kFailed; // followed by the number of units sent
    // The line did not drain in time and the port was released all the same; %1 names it.
    static const QString kCloseTimedOut;

    // `timer` is Timer1: 500 ms, fired once per download. `ended` is called once a download's
    // record has its outcome.
    DownloadSequencer(EditContext& context, SerialPort& port, QTimer& timer,
                      DownloadRecorder& recorder, std::function<void()> ended);

    // LetoltBtnClick
    void start();
    // Timer1Timer
    void tick();

private:
    bool mapPassesCheck() const;
    void refuse();
    void send();
    void report(int unitsWritten, const SerialPort::CloseResult& result);
    // The record of the map as it stands, to be sent now.
    JournalRecord currentRecord(const QByteArray& frame) const;
    // The outcome into the record, then the message, then the journal's own message if the
    // record could not be written.
    void end(JournalOutcome outcome, int units, const QString& message);
    void notifyEnded();
    void tellJournalProblem();

    EditContext& m_context;
    SerialPort& m_port;
    QTimer& m_timer;
    DownloadRecorder& m_recorder;
    std::function<void()> m_ended;
    bool m_waitingForTick = false; // between a click that opened the port and its tick
};

} // namespace zerwa
