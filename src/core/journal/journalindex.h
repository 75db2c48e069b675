// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalentry.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace zerwa::journalindex {

// The summaries of the records, kept in the hidden file ".index" of the journal folder so
// that a listing need not read and check every record again. The records are the truth:
// an entry counts only while its file still has the size, time and identity it had when the
// entry was made, and an index that cannot be read is simply made again.

// Size, modification time and file identity, as a text to compare; empty when the entry is
// not a regular file.
QString stampOf(const QString& path);

struct Cached {
    QString stamp;
    JournalEntry entry;
};
// By file name; the entries' ids are left to the journal.
using Entries = QHash<QString, Cached>;

inline const QString kFileName = QStringLiteral(".index");

QByteArray encode(const Entries& entries);
// Nothing that is not exactly what encode() writes is taken: such an index reads as empty.
Entries decode(QByteArrayView bytes);

} // namespace zerwa::journalindex
