// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal.h"
#include "core/journal/journalproblem.h"
#include "core/journal/journalrecord.h"
#include "core/link/serialport.h"
#include "core/model/variantprofile.h"
#include "core/storage/mapfilecontent.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zerwa {

// A record of a download as it stands when the line goes into break: the current time, the
// program, the map as Save would write it and the frame's wire image, the outcome unknown.
// Port, device, file name and caption are the caller's to fill in.
JournalRecord newDownloadRecord(const VariantProfile& profile, const MapFileContent& map,
                                const QByteArray& frame, QChar decimalSeparator);

// How a download ended, once the port is closed: the outcome, the frame units that left the
// line (a unit counts only when all of its bytes did), and the program's message about it.
struct DownloadEnd {
    JournalOutcome outcome;
    int units;
    QString message;
};
DownloadEnd downloadEnd(int unitsWritten, const SerialPort::CloseResult& result, int frameLength);

// Keeps the record of one download up to date in the journal: written when the line goes
// into break, again before the break ends if what will be sent has changed, and once more
// with the outcome. A write that fails does not stop the download; the problem of the last
// write is kept for the caller to report after the download's own message.
class DownloadRecorder {
public:
    explicit DownloadRecorder(QString journalFolder);

    // The line is in break: a new record (outcome unknown).
    void begin(const JournalRecord& record);
    // The break is about to end: the file name, caption, map and wire image that go out now;
    // written when they differ from what the record holds, or when the last write failed.
    void update(const JournalRecord& current);
    // The port is closed: the outcome, the units that went out, and for a failure its text.
    void finish(JournalOutcome outcome, int units, const QString& error);

    // Between begin() and finish().
    bool isRecording() const { return m_recording; }
    // The last write failed (cleared by begin()).
    const std::optional<JournalProblem>& problem() const { return m_problem; }
    // Where the record went, or where it should have gone.
    QString recordPath() const;

private:
    void write();

    Journal m_journal;
    JournalRecord m_record;
    QString m_id; // empty until a write has made the record
    bool m_recording = false;
    std::optional<JournalProblem> m_problem;
};

} // namespace zerwa
