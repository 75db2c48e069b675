// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/journal/journalcommands.h"

#include "core/journal/journalmap.h"
#include "core/journal/journalmessages.h"
#include "core/storage/mapfile.h"
#include "document/model/editcontext.h"
#include "document/storage/mapfilecommands.h"

namespace zerwa {

JournalCommands::JournalCommands(EditContext& context, MapFileCommands& mapFiles,
                                 QString journalFolder)
    : m_context(context)
    , m_mapFiles(mapFiles)
    , m_journal(std::move(journalFolder)) {}

Journal::Listing JournalCommands::list() const {
    Journal::Listing listing = m_journal.list();
    listing.entries.removeIf([this](const JournalEntry& entry) {
        return !entry.isDamaged() && entry.summary->program != m_context.profile().programName;
    });
    return listing;
}

std::optional<JournalRecord> JournalCommands::usableRecord(const QString& id) {
    Journal::Read read = m_journal.read(id);
    if (!read.record) {
        m_context.prompter.showMessage(journalmessages::cannotRead(*read.problem));
        return std::nullopt;
    }
    if (read.record->summary.program != m_context.profile().programName) {
        m_context.prompter.showMessage(mapfile::wrongFileMessage());
        return std::nullopt;
    }
    return read.record;
}

void JournalCommands::load(const QString& id) {
    const auto record = usableRecord(id);
    if (!record)
        return;
    const auto map = journalmap::mapOf(*record);
    Q_ASSERT(map); // the reader takes no record whose map does not load
    const JournalSummary& s = record->summary;
    m_mapFiles.showMap(map.value_or(MapFileContent{}), s.file,
                       s.caption.isEmpty() ? s.file : s.caption);
}

void JournalCommands::saveAs(const QString& id) {
    const auto record = usableRecord(id);
    if (!record)
        return;
    if (record->summary.mapEncoding != MapEncoding::Windows1250) {
        m_context.prompter.showMessage(journalmessages::kNotAMapFile);
        return;
    }
    m_mapFiles.saveBytesAs(record->map, record->summary.file);
}

bool JournalCommands::setNote(const QString& id, const QString& note) {
    if (const auto problem = m_journal.setNote(id, note)) {
        const bool writing = problem->kind == JournalProblem::Kind::CannotWrite ||
                             problem->kind == JournalProblem::Kind::CannotCreate;
        m_context.prompter.showMessage(writing ? journalmessages::cannotWrite(*problem)
                                               : journalmessages::cannotRead(*problem));
        return false;
    }
    return true;
}

} // namespace zerwa
