// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/link/downloadsequencer.h"

#include "core/journal/downloadrecorder.h"
#include "core/journal/journalformat.h"
#include "core/journal/journalmessages.h"
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

DownloadSequencer::DownloadSequencer(EditContext& context, SerialPort& port, QTimer& timer,
                                     DownloadRecorder& recorder, std::function<void()> ended)
    : m_context(context)
    , m_port(port)
    , m_timer(timer)
    , m_recorder(recorder)
    , m_ended(std::move(ended)) {}

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

QString textOf(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QString();
    }
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
    // The record is ready before the port opens; it holds this frame until the tick builds
    // the one that goes out.
    const MapDocument& document = m_context.document;
    JournalRecord record = currentRecord(EncodeDownloadFrame(
        m_context.profile(), document.table(), document.settings(), m_context.numbers));
    m_port.open(); // a port that is already open (a download under way) is refused here
    if (!m_port.setBreak(true)) {
        // Without the break the device would not take the frame as a new map.
        m_port.close(nullptr);
        throw SerialPortError(QStringLiteral("Nem tudom a BREAK jelet kiadni a ") +
                              portdevice::portName(m_port.selectedPort()) +
                              QStringLiteral(" porton!"));
    }
    record.summary.time = journalformat::now();
    record.summary.port = portdevice::portName(m_port.selectedPort());
    record.summary.device = m_port.openDevice();
    m_recorder.begin(record);
    m_waitingForTick = true;
    m_timer.start();
}

JournalRecord DownloadSequencer::currentRecord(const QByteArray& frame) const {
    const MapDocument& document = m_context.document;
    JournalRecord record =
        newDownloadRecord(m_context.profile(), {document.settings(), document.table()}, frame,
                          m_context.numbers.decimalSeparator());
    record.summary.file = document.currentMapFileName();
    if (document.caption() != document.currentMapFileName())
        record.summary.caption = document.caption();
    return record;
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
        m_recorder.finish(JournalOutcome::Failed, 0, textOf(std::current_exception()));
        notifyEnded();
        throw;
    }
}

void DownloadSequencer::send() {
    // The map may have been edited during the break: it is checked again before it is sent.
    if (!mapPassesCheck()) {
        m_port.setBreak(false);
        m_port.close([this](const SerialPort::CloseResult&) {
            m_recorder.finish(JournalOutcome::Failed, 0, kDataError);
            notifyEnded();
            refuse();
            tellJournalProblem();
        });
        return;
    }
    // The frame and its record come first, while the line is still in break: the record must
    // hold what is sent before the first byte goes out.
    const MapDocument& document = m_context.document;
    const QByteArray frame = EncodeDownloadFrame(m_context.profile(), document.table(),
                                                 document.settings(), m_context.numbers);
    m_recorder.update(currentRecord(frame));
    const bool breakCleared = m_port.setBreak(false);
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
    const DownloadEnd ending = downloadEnd(unitsWritten, result, m_context.profile().frameLength);
    end(ending.outcome, ending.units, ending.message);
}

void DownloadSequencer::end(JournalOutcome outcome, int units, const QString& message) {
    m_recorder.finish(outcome, units, message);
    notifyEnded();
    m_context.prompter.showMessage(message);
    tellJournalProblem();
}

void DownloadSequencer::notifyEnded() {
    if (m_ended)
        m_ended();
}

void DownloadSequencer::tellJournalProblem() {
    if (const auto& problem = m_recorder.problem())
        m_context.prompter.showMessage(journalmessages::cannotWrite(*problem));
}

} // namespace zerwa
