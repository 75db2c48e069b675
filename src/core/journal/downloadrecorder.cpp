// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/downloadrecorder.h"

#include "core/journal/journalformat.h"
#include "core/journal/journalmap.h"
#include "core/link/downloadframe.h"
#include "core/link/downloadmessages.h"

namespace zerwa {

JournalRecord newDownloadRecord(const VariantProfile& profile, const MapFileContent& map,
                                const QByteArray& frame, QChar decimalSeparator) {
    JournalRecord record;
    JournalSummary& s = record.summary;
    s.time = journalformat::now();
    s.program = profile.programName;
    s.decimal = decimalSeparator;
    journalmap::StoredMap stored = journalmap::store(profile, map);
    record.map = std::move(stored.bytes);
    s.mapEncoding = stored.encoding;
    record.setWire(downloadframe::wireImage(frame));
    return record;
}

DownloadEnd downloadEnd(int unitsWritten, const SerialPort::CloseResult& result, int frameLength) {
    const qint64 sentBytes =
        qint64(unitsWritten) * downloadframe::kUnitSize - result.undeliveredBytes;
    const int units = int(qMax<qint64>(0, sentBytes) / downloadframe::kUnitSize);
    if (result.timedOut)
        return {JournalOutcome::CloseTimedOut, units,
                downloadmessages::kCloseTimedOut.arg(result.port)};
    if (units == frameLength)
        return {JournalOutcome::Delivered, units, downloadmessages::kDone};
    return {JournalOutcome::Failed, units, downloadmessages::kFailed + QString::number(units)};
}

DownloadRecorder::DownloadRecorder(QString journalFolder)
    : m_journal(std::move(journalFolder)) {}

void DownloadRecorder::begin(const JournalRecord& record) {
    m_record = record;
    m_id.clear();
    m_recording = true;
    write(); // sets or clears the problem
}

void DownloadRecorder::update(const JournalRecord& current) {
    if (!m_recording)
        return;
    JournalRecord next = m_record;
    next.summary.file = current.summary.file;
    next.summary.caption = current.summary.caption;
    next.summary.mapEncoding = current.summary.mapEncoding;
    next.map = current.map;
    next.setWire(current.wire);
    if (next == m_record && !m_problem)
        return;
    m_record = next;
    write();
}

void DownloadRecorder::finish(JournalOutcome outcome, int units, const QString& error) {
    if (!m_recording)
        return;
    m_recording = false;
    m_record.summary.outcome = outcome;
    m_record.summary.units = units;
    m_record.summary.error = outcome == JournalOutcome::Failed ? error : QString();
    write();
}

void DownloadRecorder::write() {
    if (!m_id.isEmpty()) {
        // A note set meanwhile (in the journal window or by the tool) is kept. A record that
        // is gone or no longer whole is left alone: a new one takes its place.
        const Journal::Read current = m_journal.read(m_id);
        if (current.record) {
            m_record.summary.note = current.record->summary.note;
            m_problem = m_journal.replace(m_id, m_record);
            return;
        }
    }
    const Journal::Created created = m_journal.create(m_record);
    m_id = created.id;
    m_problem = created.problem;
}

QString DownloadRecorder::recordPath() const {
    if (m_id.isEmpty())
        return m_journal.folder();
    return m_journal.pathOf(m_id);
}

} // namespace zerwa
