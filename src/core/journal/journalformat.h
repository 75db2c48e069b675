// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalrecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace zerwa::journalformat {

// A record file: UTF-8 lines of a key, one blank and a value, LF after each; a value is
// escaped so that it stays on its line (\\, \n, \r). Then the map and the wire image as
// they are, each after a line that gives its length, and last a check over everything before
// it:
//
//   zerwa-journal-record 1
//   time 2025-03-14T11:15:02.123+01:00
//   program zerwa4
//   port COM1
//   device /dev/ttyUSB0
//   file /home/kati/elso.qmt
//   caption                        (empty: the same as the file)
//   decimal ,
//   outcome delivered              (delivered, close-timed-out, failed or unknown)
//   units 127
//   error                          (failed only)
//   note Kovács úr, ABC-123
//   sha256 <64 hex digits: SHA-256 of the wire image>
//   map windows-1250 <length>      (or utf-8)
//   <the map's bytes>
//   wire <length>
//   <the wire image's bytes>
//   check <64 hex digits: SHA-256 of every byte before this line>
//
// The reader takes exactly this and nothing else: a file that is cut off, changed by hand
// (the check), holds a wire image that is not its hash's or a map that its program would not
// write back byte for byte is damaged.

// Files larger than this are not records; the reader looks at no more.
inline constexpr qsizetype kMaxRecordBytes = 4 * 1024 * 1024;

QByteArray encode(const JournalRecord& record);

struct Decoded {
    std::optional<JournalRecord> record;
    QString damage; // why the bytes are not a record
};
Decoded decode(QByteArrayView bytes);

// "delivered", "close-timed-out", "failed", "unknown".
QString outcomeName(JournalOutcome outcome);
std::optional<JournalOutcome> outcomeNamed(QStringView name);

// ISO 8601 to the millisecond with the offset from UTC: 2025-03-14T11:15:02.123+01:00.
QString timeText(const QDateTime& time);
std::optional<QDateTime> parseTime(QStringView text);

// The current local time as a record holds it.
QDateTime now();

QString sha256Hex(QByteArrayView bytes);

// The lines of a record, read one by one; shared with the index, which keeps summaries in
// the same lines.
class LineReader {
public:
    explicit LineReader(QByteArrayView bytes)
        : m_bytes(bytes) {}
    // The value of the next line when that line is `key`, a blank and the value.
    std::optional<QByteArrayView> field(QByteArrayView key);
    // The next `size` bytes, which a line end must follow.
    std::optional<QByteArrayView> block(qsizetype size);
    qsizetype position() const { return m_pos; }
    bool atEnd() const { return m_pos == m_bytes.size(); }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// A text value escaped for its line, in UTF-8.
QByteArray escapedText(const QString& text);
void appendField(QByteArray& out, QByteArrayView key, const QString& value);
// A text value as it stands in a line; nothing for an escape or UTF-8 that the writer would
// not have written.
std::optional<QString> textValue(QByteArrayView raw);
// A length or count in plain decimal digits, at most `maximum`.
std::optional<qsizetype> numberValue(QByteArrayView raw, qsizetype maximum);

// The summary's lines from time to sha256, and back. Reading returns why they are not a
// summary, or an empty text.
void appendSummary(QByteArray& out, const JournalSummary& summary);
QString readSummary(LineReader& lines, JournalSummary& summary);

} // namespace zerwa::journalformat
