#pragma once

#include <QString>

namespace zerwa {

class TForm1;

// The download in two steps on the user-interface thread. The click checks the map, opens
// the port and holds the line in break; the tick of Timer1 (500 ms later) releases the
// break, sends every frame unit and closes the port, and the outcome is reported once the
// bytes have left the line.
class DownloadSequencer {
public:
    static const QString kDataError;
    static const QString kDone;
    static const QString kFailed; // followed by the number of units sent

    explicit DownloadSequencer(TForm1& form);

    // LetoltBtnClick
    void start();
    // Timer1Timer
    void tick();

private:
    void send();
    void report(int unitsWritten, qint64 undeliveredBytes);

    TForm1& m_form;
    bool m_waitingForTick = false; // between a click that opened the port and its tick
};

} // namespace zerwa
