// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/compare/comparisoncommands.h"

#include "core/journal/journalmap.h"
#include "core/journal/journalmessages.h"
#include "core/storage/mapfile.h"
#include "document/compare/mapcomparison.h"
#include "document/journal/journalcommands.h"
#include "document/model/editcontext.h"
#include "document/storage/mapfilecommands.h"

#include <QFileInfo>

namespace zerwa {

namespace {

const QString kNoDelivery = QStringLiteral("Nincs befejezett letöltés a letöltési naplóban!");

} // namespace

ComparisonCommands::ComparisonCommands(EditContext& context, MapComparison& comparison,
                                       MapFileCommands& mapFiles, JournalCommands& journal)
    : m_context(context)
    , m_comparison(comparison)
    , m_mapFiles(mapFiles)
    , m_journal(journal) {}

void ComparisonCommands::compareWithFile() {
    const QFileInfo current(m_mapFiles.pathOf(m_context.document.currentMapFileName()));
    FileDialogRequest request = m_mapFiles.dialogRequest(current.fileName());
    request.directory = current.absolutePath();
    request.caption = QStringLiteral("Összehasonlítás");
    const auto chosen = m_context.prompter.chooseFileToOpen(request);
    if (!chosen)
        return;
    const mapfile::ReadResult read =
        mapfile::read(m_context.profile(), m_mapFiles.pathOf(*chosen), *chosen);
    if (!read.content) {
        m_context.prompter.showMessage(read.message);
        return;
    }
    m_comparison.start(*read.content, *chosen);
}

void ComparisonCommands::compareWithRecord(const QString& id) {
    const auto record = m_journal.usableRecord(id);
    if (!record)
        return;
    const auto map = journalmap::mapOf(*record);
    if (!map) { // the reader takes no such record; a message all the same, never a crash
        m_context.prompter.showMessage(
            journalmessages::cannotRead({JournalProblem::Kind::Damaged, QString(), QString()}));
        return;
    }
    const JournalSummary& s = record->summary;
    m_comparison.start(*map, QStringLiteral("letöltés, ") + journalmessages::shownTime(s.time) +
                                 QStringLiteral(", ") + s.port);
}

void ComparisonCommands::compareWithLastDelivery() {
    const Journal::Listing listing = m_journal.list();
    for (const JournalEntry& entry : listing.entries) {
        if (!entry.isDamaged() && entry.summary->outcome == JournalOutcome::Delivered)
            return compareWithRecord(entry.id);
    }
    m_context.prompter.showMessage(listing.problem ? journalmessages::cannotRead(*listing.problem)
                                                   : kNoDelivery);
}

} // namespace zerwa
