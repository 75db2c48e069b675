// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalentry.h"
#include "core/journal/journalproblem.h"
#include "core/journal/journalrecord.h"

#include <QString>
#include <QStringList>

namespace zerwa::cli {

// What the tool says about the journal and its records.

// The problem on one line, naming the folder or file.
QString problemText(const JournalProblem& problem);

// One line per record: id, time, program, port, outcome, the hash's first 8 digits, file,
// note; a line break in a value shows as a blank.
QString listLine(const JournalEntry& entry);
// An array of objects with the fields id, time, program, port, device, file, outcome, sha256,
// bytes and note.
QString listJson(const QList<JournalEntry>& entries);
// The record's fields and its map's settings, one per line.
QStringList showLines(const QString& id, const JournalRecord& record);

} // namespace zerwa::cli
