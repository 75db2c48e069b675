// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/model/mapedit.h"

#include "document/model/mapdocument.h"

namespace zerwa {

MapEdit::MapEdit(MapDocument& document, const QString& description)
    : MapEdit(document, description, MergeKey()) {}

MapEdit::MapEdit(MapDocument& document, const QString& description, MergeKey key)
    : QUndoCommand(description)
    , m_document(document)
    , m_key(key) {}

bool MapEdit::changesNothing() const {
    return cells.isEmpty() && settingsBefore == settingsAfter && downloadBefore == downloadAfter;
}

void MapEdit::undo() {
    m_document.applyCells(cells, false);
    if (settingsBefore)
        m_document.applySettings(*settingsBefore);
    if (downloadBefore)
        m_document.setDownloadEnabled(*downloadBefore);
    m_document.askChart(chartOnUndo);
}

void MapEdit::redo() {
    m_document.applyCells(cells, true);
    if (settingsAfter)
        m_document.applySettings(*settingsAfter);
    if (downloadAfter)
        m_document.setDownloadEnabled(*downloadAfter);
    if (m_made)
        m_document.askChart(chartOnRedo);
    m_made = true;
    // A keystroke that changes nothing leaves no step.
    setObsolete(changesNothing());
}

int MapEdit::id() const {
    return m_key.typing == Typing::None ? -1 : int(m_key.typing);
}

bool MapEdit::mergeWith(const QUndoCommand* other) {
    const auto* later = dynamic_cast<const MapEdit*>(other);
    if (!later || later->m_key != m_key)
        return false;
    cells.mergeLater(later->cells);
    if (later->settingsAfter)
        settingsAfter = later->settingsAfter;
    chartOnUndo |= later->chartOnUndo;
    chartOnRedo |= later->chartOnRedo;
    setObsolete(changesNothing());
    return true;
}

} // namespace zerwa
