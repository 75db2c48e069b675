#include "link/downloadsequencer.h"

#include "link/downloadframe.h"
#include "link/downloadmessages.h"
#include "link/portdevice.h"
#include "link/serialport.h"
#include "link/serialporterror.h"
#include "mainwindow/prompter.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/tform1.h"

#include <QTimer>

namespace zerwa {

const QString DownloadSequencer::kDataError = downloadmessages::kDataError;
const QString DownloadSequencer::kDone = downloadmessages::kDone;
const QString DownloadSequencer::kFailed = downloadmessages::kFailed;
const QString DownloadSequencer::kCloseTimedOut = downloadmessages::kCloseTimedOut;

DownloadSequencer::DownloadSequencer(TForm1& form)
    : m_form(form) {}

void DownloadSequencer::start() {
    if (!m_form.ValidateForDownload()) {
        m_form.prompter().showMessage(kDataError);
        return;
    }
    SerialPort& port = *m_form.MSComm1;
    port.open(); // a port that is already open (a download under way) is refused here
    if (!port.setBreak(true)) {
        // Without the break the device would not take the frame as a new map.
        port.close(nullptr);
        throw SerialPortError(QStringLiteral("Nem tudom a BREAK jelet kiadni a ") +
                              portdevice::portName(port.selectedPort()) +
                              QStringLiteral(" porton!"));
    }
    m_waitingForTick = true;
    m_form.Timer1->start();
}

void DownloadSequencer::tick() {
    m_form.Timer1->stop();
    if (!m_waitingForTick)
        return;
    m_waitingForTick = false;
    try {
        send();
    } catch (...) {
        // Nothing has been written yet: the port must not stay open or in break.
        m_form.MSComm1->setBreak(false);
        m_form.MSComm1->close(nullptr);
        throw;
    }
}

void DownloadSequencer::send() {
    SerialPort& port = *m_form.MSComm1;
    const bool breakCleared = port.setBreak(false);
    // The map may have been edited during the break: it is checked again before it is sent.
    if (!m_form.ValidateForDownload()) {
        port.close([this](const SerialPort::CloseResult&) {
            m_form.runCommand([this] { m_form.prompter().showMessage(kDataError); });
        });
        return;
    }
    const QByteArray frame = EncodeDownloadFrame(m_form.profile(), m_form.table(),
                                                 m_form.Panel1->settings(), m_form.numbers());
    int units = 0;
    if (breakCleared) {
        for (const char byte : frame) {
            if (!port.write(downloadframe::unit(byte)))
                break;
            ++units;
        }
    }
    port.close([this, units](const SerialPort::CloseResult& result) { report(units, result); });
}

void DownloadSequencer::report(int unitsWritten, const SerialPort::CloseResult& result) {
    // A unit counts as sent only when all of its bytes have left.
    const qint64 sentBytes =
        qint64(unitsWritten) * downloadframe::kUnitSize - result.undeliveredBytes;
    const int unitsSent = int(qMax<qint64>(0, sentBytes) / downloadframe::kUnitSize);
    m_form.runCommand([this, unitsSent, result] {
        if (result.timedOut)
            m_form.prompter().showMessage(kCloseTimedOut.arg(result.port));
        else if (unitsSent == m_form.profile().frameLength)
            m_form.prompter().showMessage(kDone);
        else
            m_form.prompter().showMessage(kFailed + QString::number(unitsSent));
    });
}

} // namespace zerwa
