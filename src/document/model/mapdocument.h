// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/settingsblock.h"
#include "core/model/variantprofile.h"
#include "document/model/cellchanges.h"
#include "document/model/chartrefresh.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <optional>

namespace zerwa {

// A value the download check refused: a cell or a settings field. It is shown marked until
// it is next edited.
struct MapMark {
    std::optional<CellPos> cell;
    std::optional<SettingField> field;
    friend bool operator==(const MapMark&, const MapMark&) = default;
};

// Everything a map is, and what the commands share about it: the cell texts, the six
// settings as their controls show them, the current map file name, the caption, whether a
// download is offered, the remembered cell, axis-edit mode, and the edit history. Texts are
// held exactly as typed or read. The windows observe the document and show it.
class MapDocument : public QObject {
    Q_OBJECT
public:
    static constexpr int kHistoryLimit = 1000;

    explicit MapDocument(const VariantProfile& profile, QObject* parent = nullptr);
    ~MapDocument() override;

    const VariantProfile& profile() const { return m_profile; }
    const MapTable& table() const { return m_table; }
    const QString& cell(CellPos pos) const { return m_table.cell(pos); }
    const SettingsBlock& settings() const { return m_settings; }
    const QString& setting(SettingField field) const { return fieldOf(m_settings, field); }

    // Edits, each one step of the history.
    // A keystroke in a cell or a settings field; the keystrokes of one visit are one step.
    void typeCell(CellPos cell, const QString& text);
    void typeSetting(SettingField field, const QString& text);
    // A drop-down list's new selection; a text that is not an item selects nothing.
    void chooseSetting(SettingField field, const QString& item);
    // All six settings at once.
    void replaceSettings(const SettingsBlock& settings);
    // The visit ends: the next keystroke starts a new step.
    void closeEdit();
    // Escape in a cell: the text the cell held before this visit's typing comes back, and
    // the typing leaves no step behind.
    void revertTyping(CellPos cell);
    // A command that rewrites many cells (a bulk step, a slope fill, a paste): one step of the
    // history, which takes in the typing of the current visit. Returns the refreshes the
    // chart needs for what changed.
    ChartRefresh changeTable(const MapTable& after, const QString& description);
    // The clear command: the table reset, blank settings, no download.
    void clearMap(ResetScope scope);

    // Replacements that start a fresh history: a map read from a file, and the start-up's
    // default table. Neither asks for a chart refresh; their callers do what they need.
    void loadMap(const SettingsBlock& settings, const MapTable& table);
    void resetMap(ResetScope scope);

    QUndoStack& history() { return m_history; }
    // Undo and redo; each ends any visit. They ask the chart for the refreshes the steps
    // need (see takeChartRefresh).
    void undo();
    void redo();
    // The chart refreshes that undo and redo asked for since the last call.
    ChartRefresh takeChartRefresh();

    // State outside the history.
    const QString& currentMapFileName() const { return m_currentMapFileName; }
    void setCurrentMapFileName(const QString& name) { m_currentMapFileName = name; }
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    bool downloadEnabled() const { return m_downloadEnabled; }
    void setDownloadEnabled(bool enabled);
    // The cell selected last; the next selection move checks it.
    CellPos rememberedCell() const { return m_rememberedCell; }
    void setRememberedCell(CellPos cell);
    bool axisEditMode() const { return m_axisEditMode; }
    void setAxisEditMode(bool on);
    const MapMark& mark() const { return m_mark; }
    void setMark(const MapMark& mark);

signals:
    void cellsChanged(zerwa::CellPos topLeft, zerwa::CellPos bottomRight);
    void settingsChanged();
    void captionChanged(const QString& caption);
    void downloadEnabledChanged(bool enabled);
    void rememberedCellChanged(zerwa::CellPos cell);
    void axisEditModeChanged(bool on);
    // The mark moved or was cleared; `previous` is where it was.
    void markChanged(const zerwa::MapMark& previous);
    // Another map took the place of this one (loaded from a file or a download record, or
    // the start-up's default table), after its cells and settings changed.
    void mapReplaced();

private:
    friend class MapEdit;
    void applyCells(const CellChanges& changes, bool after);
    void applySettings(const SettingsBlock& settings);
    void askChart(const ChartRefresh& refresh) { m_chartRefresh |= refresh; }
    void push(class MapEdit* edit);
    // The step of the current visit's typing, when it is the last one made.
    const MapEdit* openTyping() const;
    SettingsBlock withSetting(SettingField field, const QString& text) const;
    ChartRefresh refreshFor(const CellChanges& changes) const;

    const VariantProfile& m_profile;
    MapTable m_table;
    SettingsBlock m_settings;
    QUndoStack m_history;
    quint64 m_visit = 0;
    ChartRefresh m_chartRefresh;
    QString m_currentMapFileName;
    QString m_caption;
    bool m_downloadEnabled = false;
    CellPos m_rememberedCell;
    bool m_axisEditMode = false;
    MapMark m_mark;
};

} // namespace zerwa
