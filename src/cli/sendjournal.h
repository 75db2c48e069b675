// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/mapsource.h"
#include "cli/portargument.h"
#include "core/journal/downloadrecorder.h"

#include <QByteArray>
#include <QString>

namespace zerwa::cli {

// The journal record of a send, as the programs keep one of each download: begun once the
// line is in break, finished with the outcome once the port is closed.
class SendJournal {
public:
    SendJournal(const QString& journalFolder, const LoadedMap& map, const PortArgument& port,
                QChar decimalSeparator, const QByteArray& frame);

    void started(const QString& device);
    void ended(int unitsWritten, const SerialPort::CloseResult& result);

    // After the send: a record that could not be written is named on standard error, and a
    // send that otherwise succeeded ends with exit code 3.
    int exitCode(int sendExitCode) const;

private:
    DownloadRecorder m_recorder;
    JournalRecord m_record;
    int m_frameLength;
};

} // namespace zerwa::cli
