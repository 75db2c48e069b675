// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sendjournal.h"

#include "cli/console.h"
#include "cli/journaltexts.h"
#include "core/journal/journalformat.h"
#include "core/link/portdevice.h"

#include <QFileInfo>

namespace zerwa::cli {

SendJournal::SendJournal(const QString& journalFolder, const LoadedMap& map,
                         const PortArgument& port, QChar decimalSeparator, const QByteArray& frame)
    : m_recorder(journalFolder)
    , m_record(newDownloadRecord(*map.profile, map.content, frame, decimalSeparator))
    , m_frameLength(map.profile->frameLength) {
    m_record.summary.port = port.number > 0 ? portdevice::portName(port.number) : port.device;
    m_record.summary.file = QFileInfo(map.name).absoluteFilePath();
}

void SendJournal::started(const QString& device) {
    m_record.summary.time = journalformat::now();
    m_record.summary.device = device;
    m_recorder.begin(m_record);
}

void SendJournal::ended(int unitsWritten, const SerialPort::CloseResult& result) {
    const DownloadEnd ending = downloadEnd(unitsWritten, result, m_frameLength);
    m_recorder.finish(ending.outcome, ending.units, ending.message);
}

int SendJournal::exitCode(int sendExitCode) const {
    const auto& problem = m_recorder.problem();
    if (!problem)
        return sendExitCode;
    printError(QStringLiteral("zerwa: the journal record of this send was not written: ") +
               problemText(*problem));
    return sendExitCode == kSuccess ? kJournalNotWritten : sendExitCode;
}

} // namespace zerwa::cli
