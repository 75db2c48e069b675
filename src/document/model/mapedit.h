// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/settingsblock.h"
#include "document/model/cellchanges.h"
#include "document/model/chartrefresh.h"

#include <QUndoCommand>

#include <optional>

namespace zerwa {

class MapDocument;

// One step of the map's history: the cells, settings and download state that one user
// action changed, before and after, so that undo gives back the exact texts. The keystrokes
// of one visit to a cell or a settings field merge into one step.
class MapEdit : public QUndoCommand {
public:
    enum class Typing { None, Cell, Settings };
    // Which steps merge: typing of the same kind, target and visit.
    struct MergeKey {
        Typing typing = Typing::None;
        int target = 0; // cell index; unused for settings
        quint64 visit = 0;
        friend bool operator==(const MergeKey&, const MergeKey&) = default;
    };

    MapEdit(MapDocument& document, const QString& description);
    MapEdit(MapDocument& document, const QString& description, MergeKey key);

    CellChanges cells;
    std::optional<SettingsBlock> settingsBefore;
    std::optional<SettingsBlock> settingsAfter;
    std::optional<bool> downloadBefore;
    std::optional<bool> downloadAfter;
    // What the chart re-reads when the history steps back over this edit, and forward again.
    ChartRefresh chartOnUndo;
    ChartRefresh chartOnRedo;

    bool changesNothing() const;
    const MergeKey& mergeKey() const { return m_key; }

    void undo() override;
    // The first call makes the edit; the caller has done the chart's part of the command.
    // Later calls (redo) ask for the chart refresh as well.
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    MapDocument& m_document;
    MergeKey m_key;
    bool m_made = false;
};

} // namespace zerwa
