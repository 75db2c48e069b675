// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal.h"

#include <QString>

namespace zerwa {

struct EditContext;
class MapFileCommands;

// What the journal window does with a record of this program: its map into the editor or
// into a file, and its note.
class JournalCommands {
public:
    JournalCommands(EditContext& context, MapFileCommands& mapFiles, QString journalFolder);

    // This program's records and the files that are not whole records, newest first.
    Journal::Listing list() const;
    const QString& folder() const { return m_journal.folder(); }

    // "Betöltés": the record's map replaces the one on screen as Load does; Save then
    // proposes the record's file name.
    void load(const QString& id);
    // "Mentés másként…": the record's map, byte for byte, to a file the user chooses.
    void saveAs(const QString& id);
    // The record's note; false, after a message, when it could not be written.
    bool setNote(const QString& id, const QString& note);

    // The record, or nothing after a message saying why it cannot be used.
    std::optional<JournalRecord> usableRecord(const QString& id);

private:
    EditContext& m_context;
    MapFileCommands& m_mapFiles;
    Journal m_journal;
};

} // namespace zerwa
