// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/link/downloadsequencer.h"

#include "core/link/downloadcheck.h"
#include "core/link/downloadframe.h"
#include "core/link/downloadmessages.h"
#include "core/link/portdevice.h"
#include "core/link/serialport.h"
#include "core/link/serialporterror.h"
#include "document/model/editcontext.h"

#include <QTimer>

namespace zerwa {

const QString DownloadSequencer::kDataError = downloadmessages::kDataError;
const QString DownloadSequencer::kDone = downloadmessages::kDone;
const QString DownloadSequencer::kFailed = downloadmessages::kFailed;
const QString DownloadSequencer::kCloseTimedOut = downloadmessages::kCloseTimedOut;

DownloadSequencer::DownloadSequencer(EditContext& context, SerialPort& port, QTimer& timer)
    : m_context(context)
    , m_port(port)
    , m_timer(timer) {}

namespace {

// Where the window shows the value the check refused.
MapMark markOf(const DownloadFault& fault) {
    switch (fault.field) {
    case DownloadFault::Field::RpmCell:
    case DownloadFault::Field::DataCell:
        return {fault.cell, std::nullopt};
    case DownloadFault::Field::LimitRpm:
        return {std::nullopt, SettingField::LimitRpm};
    case DownloadFault::Field::Opening:
        return {std::nullopt, SettingField::Opening};
    case DownloadFault::Field::Closing:
        return {std::nullopt, SettingField::Closing};
    case DownloadFault::Field::Cylinders:
        return {std::nullopt, SettingField::Cylinders};
    case DownloadFault::Field::InputPolarity:
        return {std::nullopt, SettingField::InputPolarity};
    case DownloadFault::Field::OutputPolarity:
        return {std::nullopt, SettingField::OutputPolarity};
    }
    return {};
}

} // namespace

bool DownloadSequencer::mapPassesCheck() const {
    const MapDocument& document = m_context.document;
    return ValidateForDownload(m_context.profile(), document.table(), document.settings(),
                               m_context.numbers);
}

void DownloadSequencer::refuse() {
    // The message stays as it is; the value it is about is marked after it.
    m_context.prompter.showMessage(kDataError);
    const MapDocument& document = m_context.document;
    if (const auto fault = FindDownloadFault(m_context.profile(), document.table(),
                                             document.settings(), m_context.numbers))
        m_context.document.setMark(markOf(*fault));
}

void DownloadSequencer::start() {
    if (!mapPassesCheck()) {
        refuse();
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
        m_port.close([this](const SerialPort::CloseResult&) { refuse(); });
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
    m_port.close([this, units](const SerialPort::CloseResult& result) { report(units, result); });
}

void DownloadSequencer::report(int unitsWritten, const SerialPort::CloseResult& result) {
    // A unit counts as sent only when all of its bytes have left.
    const qint64 sentBytes =
        qint64(unitsWritten) * downloadframe::kUnitSize - result.undeliveredBytes;
    const int unitsSent = int(qMax<qint64>(0, sentBytes) / downloadframe::kUnitSize);
    if (result.timedOut)
        m_context.prompter.showMessage(kCloseTimedOut.arg(result.port));
    else if (unitsSent == m_context.profile().frameLength)
        m_context.prompter.showMessage(kDone);
    else
        m_context.prompter.showMessage(kFailed + QString::number(unitsSent));
}

} // namespace zerwa
