// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/model/mapdocument.h"

#include "core/model/settingslists.h"
#include "document/model/mapedit.h"

namespace zerwa {

MapDocument::MapDocument(const VariantProfile& profile, QObject* parent)
    : QObject(parent)
    , m_profile(profile)
    , m_table(MapTable::forProfile(profile))
    , m_currentMapFileName(profile.defaultMapFileName)
    , m_caption(QStringLiteral("Form1"))
    , m_rememberedCell(profile.initialRememberedCell) {
    m_history.setUndoLimit(kHistoryLimit);
}

MapDocument::~MapDocument() {
    m_history.clear(); // the steps refer to the document
}

void MapDocument::typeCell(CellPos cell, const QString& text) {
    if (text == m_table.cell(cell))
        return;
    auto* edit =
        new MapEdit(*this, tr("cell"), {MapEdit::Typing::Cell, m_table.indexOf(cell), m_visit});
    edit->cells = CellChanges::ofCell(m_table, cell, text);
    edit->chartOnUndo = edit->chartOnRedo = refreshFor(edit->cells);
    push(edit);
}

void MapDocument::typeSetting(SettingField field, const QString& text) {
    if (text == setting(field))
        return;
    auto* edit = new MapEdit(*this, tr("setting"), {MapEdit::Typing::Settings, 0, m_visit});
    edit->settingsBefore = m_settings;
    edit->settingsAfter = withSetting(field, text);
    push(edit);
}

void MapDocument::chooseSetting(SettingField field, const QString& item) {
    closeEdit();
    auto* edit = new MapEdit(*this, tr("setting"));
    edit->settingsBefore = m_settings;
    edit->settingsAfter = withSetting(field, item);
    push(edit);
}

void MapDocument::replaceSettings(const SettingsBlock& settings) {
    closeEdit();
    auto* edit = new MapEdit(*this, tr("settings"));
    edit->settingsBefore = m_settings;
    edit->settingsAfter = settings::normalized(settings, m_profile);
    push(edit);
}

void MapDocument::closeEdit() {
    ++m_visit;
}

void MapDocument::revertTyping(CellPos cell) {
    const MapEdit* edit = openTyping();
    const MapEdit::MergeKey visit{MapEdit::Typing::Cell, m_table.indexOf(cell), m_visit};
    if (!edit || edit->mergeKey() != visit)
        return;
    MapTable before = m_table;
    edit->cells.applyBefore(before);
    // Typing the old text back merges into the visit's step, which then changes nothing
    // and leaves the history.
    typeCell(cell, before.cell(cell));
}

const MapEdit* MapDocument::openTyping() const {
    const int top = m_history.index() - 1;
    const auto* edit = top >= 0 ? dynamic_cast<const MapEdit*>(m_history.command(top)) : nullptr;
    if (!edit || edit->mergeKey().typing == MapEdit::Typing::None ||
        edit->mergeKey().visit != m_visit)
        return nullptr;
    return edit;
}

ChartRefresh MapDocument::changeTable(const MapTable& after, const QString& description) {
    // Typing the command interrupts joins the command's step: one undo goes back to the texts
    // from before the typing, never to half-typed text. The visit goes on.
    const MapEdit* typing = openTyping();
    auto* edit = new MapEdit(*this, description, typing ? typing->mergeKey() : MapEdit::MergeKey());
    edit->cells = CellChanges::between(m_table, after);
    const ChartRefresh refresh = refreshFor(edit->cells);
    edit->chartOnUndo = edit->chartOnRedo = refresh;
    push(edit);
    return refresh;
}

void MapDocument::clearMap(ResetScope scope) {
    closeEdit();
    MapTable after = m_table;
    resetMapTable(after, m_profile, scope);
    auto* edit = new MapEdit(*this, tr("clear"));
    edit->cells = CellChanges::between(m_table, after);
    edit->settingsBefore = m_settings;
    edit->settingsAfter = SettingsBlock();
    edit->downloadBefore = m_downloadEnabled;
    edit->downloadAfter = false;
    // The clear leaves the rpm labels as they were; the titles follow the axes it reset.
    const bool withAxes = scope == ResetScope::WithAxes;
    edit->chartOnUndo = {true, withAxes, false};
    edit->chartOnRedo = {true, withAxes, false};
    push(edit);
}

void MapDocument::loadMap(const SettingsBlock& settings, const MapTable& table) {
    Q_ASSERT(table.cellCount() == m_table.cellCount());
    m_history.clear();
    setMark({});
    closeEdit();
    applyCells(CellChanges::between(m_table, table), true);
    applySettings(settings::normalized(settings, m_profile));
    emit mapReplaced();
}

void MapDocument::resetMap(ResetScope scope) {
    MapTable table = m_table;
    resetMapTable(table, m_profile, scope);
    loadMap(SettingsBlock(), table);
    setDownloadEnabled(false);
}

void MapDocument::undo() {
    closeEdit();
    m_history.undo();
    closeEdit();
}

void MapDocument::redo() {
    closeEdit();
    m_history.redo();
    closeEdit();
}

ChartRefresh MapDocument::takeChartRefresh() {
    return std::exchange(m_chartRefresh, ChartRefresh());
}

void MapDocument::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit captionChanged(caption);
}

void MapDocument::setDownloadEnabled(bool enabled) {
    // Announced even when unchanged: the button is brought into line every time.
    m_downloadEnabled = enabled;
    emit downloadEnabledChanged(enabled);
}

void MapDocument::setRememberedCell(CellPos cell) {
    if (cell == m_rememberedCell)
        return;
    m_rememberedCell = cell;
    emit rememberedCellChanged(cell);
}

void MapDocument::setAxisEditMode(bool on) {
    if (on == m_axisEditMode)
        return;
    m_axisEditMode = on;
    emit axisEditModeChanged(on);
}

void MapDocument::setMark(const MapMark& mark) {
    if (mark == m_mark)
        return;
    const MapMark previous = std::exchange(m_mark, mark);
    emit markChanged(previous);
}

void MapDocument::applyCells(const CellChanges& changes, bool after) {
    if (changes.isEmpty())
        return;
    if (after)
        changes.applyAfter(m_table);
    else
        changes.applyBefore(m_table);
    const auto [topLeft, bottomRight] = changes.bounds(m_table);
    emit cellsChanged(topLeft, bottomRight);
    if (m_mark.cell) {
        for (int i = 0; i < changes.size(); ++i) {
            if (changes.cell(i, m_table) == *m_mark.cell)
                setMark({});
        }
    }
}

void MapDocument::applySettings(const SettingsBlock& settings) {
    if (settings == m_settings)
        return;
    const bool markedFieldChanged =
        m_mark.field && fieldOf(settings, *m_mark.field) != fieldOf(m_settings, *m_mark.field);
    m_settings = settings;
    emit settingsChanged();
    if (markedFieldChanged)
        setMark({});
}

void MapDocument::push(MapEdit* edit) {
    if (edit->changesNothing() && edit->id() == -1) {
        delete edit;
        return;
    }
    m_history.push(edit);
}

SettingsBlock MapDocument::withSetting(SettingField field, const QString& text) const {
    SettingsBlock block = m_settings;
    fieldOf(block, field) = text;
    return isListField(field) ? settings::normalized(block, m_profile) : block;
}

ChartRefresh MapDocument::refreshFor(const CellChanges& changes) const {
    return {changes.touchesDataCells(m_table), changes.touchesHeadings(m_table),
            changes.touchesRpmColumn(m_table)};
}

} // namespace zerwa
