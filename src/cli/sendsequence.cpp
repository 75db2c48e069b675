// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sendsequence.h"

#include "cli/console.h"
#include "cli/sendjournal.h"
#include "core/link/downloadframe.h"
#include "core/link/downloadmessages.h"
#include "core/link/qtserialport.h"
#include "core/link/serialporterror.h"

namespace zerwa::cli {

namespace {

constexpr int kProgressIntervalMs = 100;
constexpr double kBytesPerSecond = 2400.0 / 10; // 8N1: ten bits a byte

} // namespace

SendSequence::SendSequence(QtSerialPort& port, QByteArray frame, SendJournal* journal,
                           QObject* parent)
    : QObject(parent)
    , m_port(port)
    , m_frame(std::move(frame))
    , m_journal(journal)
    , m_showProgress(errorIsTerminal()) {
    // A precise timer: a coarse one may fire up to 5 % early, shortening the break.
    m_breakTimer.setTimerType(Qt::PreciseTimer);
    m_breakTimer.setSingleShot(true);
    m_breakTimer.setInterval(kBreakMs);
    connect(&m_breakTimer, &QTimer::timeout, this, &SendSequence::sendFrame);
    m_progressTimer.setInterval(kProgressIntervalMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &SendSequence::showProgress);
}

void SendSequence::start() {
    m_port.open();
    if (!m_port.setBreak(true)) {
        // Without the break the device would not take the frame as a new map.
        const QString device = m_port.openDevice();
        m_port.close(nullptr);
        throw SerialPortError(
            QStringLiteral("cannot hold the line of %1 in break; nothing was sent").arg(device));
    }
    if (m_journal)
        m_journal->started(m_port.openDevice());
    m_breakTimer.start();
    if (m_showProgress)
        printProgress(QStringLiteral("break on %1").arg(m_port.openDevice()));
}

void SendSequence::sendFrame() {
    int units = 0;
    if (m_port.setBreak(false)) {
        for (const char byte : m_frame) {
            if (!m_port.write(downloadframe::unit(byte)))
                break;
            ++units;
        }
    }
    closePort(units);
}

// The one place the port is closed after a download.
void SendSequence::closePort(int unitsWritten) {
    if (m_showProgress)
        m_progressTimer.start();
    m_port.close([this, unitsWritten](const SerialPort::CloseResult& result) {
        report(unitsWritten, result);
    });
}

void SendSequence::report(int unitsWritten, const SerialPort::CloseResult& result) {
    if (m_journal)
        m_journal->ended(unitsWritten, result);
    m_progressTimer.stop();
    if (m_showProgress)
        printProgress(QString());
    if (result.timedOut) {
        printError(downloadmessages::kCloseTimedOut.arg(result.port));
        emit finished(kFailed);
        return;
    }
    const qint64 undeliveredBytes = result.undeliveredBytes;
    // A unit counts as sent only when all of its bytes have left.
    const qint64 sentBytes = qint64(unitsWritten) * downloadframe::kUnitSize - undeliveredBytes;
    const int unitsSent = int(qMax<qint64>(0, sentBytes) / downloadframe::kUnitSize);
    if (unitsSent == m_frame.size()) {
        printLine(downloadmessages::kDone);
        emit finished(kSuccess);
    } else {
        printError(downloadmessages::kFailed + QString::number(unitsSent));
        emit finished(kFailed);
    }
}

void SendSequence::showProgress() {
    const qint64 total = qint64(m_frame.size()) * downloadframe::kUnitSize;
    const qint64 left = qMin(total, m_port.bytesNotSent());
    printProgress(QStringLiteral("%1/%2 bytes on the line, %3 s left")
                      .arg(total - left)
                      .arg(total)
                      .arg(double(left) / kBytesPerSecond, 0, 'f', 1));
}

} // namespace zerwa::cli
