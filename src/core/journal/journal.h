// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journalentry.h"
#include "core/journal/journalproblem.h"
#include "core/journal/journalrecord.h"

#include <QList>
#include <QString>

#include <optional>

namespace zerwa {

// The download journal: one file per record, "<id>.record", in one folder that the programs
// and the tool share. Every write is whole and synced (syncedfile), a new record never takes
// the name of another, and a file that is not a whole record is never written over.
class Journal {
public:
    explicit Journal(QString folder);
    const QString& folder() const { return m_folder; }

    struct Listing {
        QList<JournalEntry> entries; // newest first; files that are not records last
        std::optional<JournalProblem> problem;
    };
    // Every file of the folder. A folder that is not there yet holds no records.
    Listing list() const;

    struct Read {
        std::optional<JournalRecord> record;
        std::optional<JournalProblem> problem;
    };
    Read read(const QString& id) const;

    struct Created {
        QString id;
        std::optional<JournalProblem> problem;
    };
    // A new record under an id of its own: its local time to the second and a random part.
    Created create(const JournalRecord& record) const;
    // Writes the record again under its id.
    std::optional<JournalProblem> replace(const QString& id, const JournalRecord& record) const;
    // Sets the note of a whole record; a damaged one is left as it is.
    std::optional<JournalProblem> setNote(const QString& id, const QString& note) const;

    QString pathOf(const QString& id) const;

private:
    QString fileNameOf(const QString& id) const;

    QString m_folder;
};

} // namespace zerwa
