#include "link/downloadsequencer.h"

#include "link/downloadcheck.h"
#include "link/downloadframe.h"
#include "link/portdevice.h"
#include "link/serialport.h"
#include "link/serialporterror.h"
#include "model/editcontext.h"

#include <QTimer>

namespace zerwa {

const QString DownloadSequencer::kDataError =
    QStringLiteral("Hiba az adattáblán!\n Kérem ellenőrizze az adatokat!");
const QString DownloadSequencer::kDone = QStringLiteral("A letöltés befejezve!");
const QString DownloadSequencer::kFailed = QStringLiteral("Hiba a letöltésben!  ");

DownloadSequencer::DownloadSequencer(EditContext& context, SerialPort& port, QTimer& timer)
    : m_context(context)
    , m_port(port)
    , m_timer(timer) {}

bool DownloadSequencer::mapPassesCheck() const {
    const MapDocument& document = m_context.document;
    return ValidateForDownload(m_context.profile(), document.table(), document.settings(),
                               m_context.numbers);
}

void DownloadSequencer::start() {
    if (!mapPassesCheck()) {
        m_context.prompter.showMessage(kDataError);
        return;
    }
    m_port.open(); // a port that is already open (a download under way) is refused here
    if (!m_port.setBreak(true)) {
        // Without the break the device would not take the frame as a new map.
        m_port.close(nullptr);
        throw SerialPortError(QStringLiteral("Nem tudom a BREAK jelet kiadni a ") +
                              portdevice::portName(m_port.selectedPort()) +
                              QStringLiteral(" porton!"));
    }
    m_waitingForTick = true;
    m_timer.start();
}

void DownloadSequencer::tick() {
    m_timer.stop();
    if (!m_waitingForTick)
        return;
    m_waitingForTick = false;
    try {
        send();
    } catch (...) {
        // Nothing has been written yet: the port must not stay open or in break.
        m_port.setBreak(false);
        m_port.close(nullptr);
        throw;
    }
}

void DownloadSequencer::send() {
    const bool breakCleared = m_port.setBreak(false);
    // The map may have been edited during the break: it is checked again before it is sent.
    if (!mapPassesCheck()) {
        m_port.close([this](qint64) { m_context.prompter.showMessage(kDataError); });
        return;
    }
    const MapDocument& document = m_context.document;
    const QByteArray frame = EncodeDownloadFrame(m_context.profile(), document.table(),
                                                 document.settings(), m_context.numbers);
    int units = 0;
    if (breakCleared) {
        for (const char byte : frame) {
            if (!m_port.write(downloadframe::unit(byte)))
                break;
            ++units;
        }
    }
    m_port.close([this, units](qint64 undelivered) { report(units, undelivered); });
}

void DownloadSequencer::report(int unitsWritten, qint64 undeliveredBytes) {
    // A unit counts as sent only when all of its bytes have left.
    const qint64 sentBytes = qint64(unitsWritten) * downloadframe::kUnitSize - undeliveredBytes;
    const int unitsSent = int(qMax<qint64>(0, sentBytes) / downloadframe::kUnitSize);
    if (unitsSent == m_context.profile().frameLength)
        m_context.prompter.showMessage(kDone);
    else
        m_context.prompter.showMessage(kFailed + QString::number(unitsSent));
}

} // namespace zerwa
