// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"

#include <QFont>
#include <QPointer>
#include <QTableView>

#include <optional>

class QMenu;

namespace zerwa {

class MapTableModel;

// The map table grid (StringGrid1). Row 0 and column 0 are cells of the same table; while
// the axes are fixed they are shown in the header sections (drawn as headers, never
// scrolled away, not selectable), in axis-edit mode they become ordinary cells. The editor
// is always open on the current cell.
class MapGrid : public QTableView {
    Q_OBJECT
public:
    MapGrid(MapTableModel* model, const VariantProfile& profile, QWidget* parent = nullptr);

    MapTableModel* mapModel() const { return m_model; }

    // One fixed row and column (axes fixed), or none (axis-edit mode). A selection on an axis
    // that becomes fixed moves to the nearest data cell without announcing it.
    void setFixedAxes(bool fixed);
    int fixedColumnCount() const { return m_fixedAxes ? 1 : 0; }
    int fixedRowCount() const { return m_fixedAxes ? 1 : 0; }

    CellPos currentCell() const;
    // Moves the selection like a click would, announcing it (cellAboutToChange, cellSelected).
    void moveToCell(CellPos cell);
    // Places the selection without announcing it.
    void placeCellSilently(CellPos cell);

    // The popup menu opens by itself on a right click (or the menu key) only while this is on.
    void setPopupMenu(QMenu* menu) { m_popupMenu = menu; }
    void setAutoPopup(bool on) { m_autoPopup = on; }
    bool autoPopup() const { return m_autoPopup; }
    // Opens the popup menu (at a screen position, or below the current cell) if it may open
    // now; returns whether it opened.
    bool openPopup(const QPoint& globalPosition);
    bool openPopupAtCurrentCell();

    // The font of an rpm cell's editor, which has less room than the cell.
    const QFont& rpmEditorFont();

    // The editor open on the current cell, if any.

signals:
    // The selection is about to move to (column, row); the cell that is left is still the
    // current one.
    void cellAboutToChange(int column, int row);
    // The selection has moved to (column, row).
    void cellSelected(int column, int row);
    // The popup menu is about to open (handlers may adjust its items).
    void aboutToPopup();
    // Escape in the cell editor: the cell's text from before this visit's typing is wanted.
    void typingRevertRequested(int column, int row);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    friend class GridSelectionModel;
    friend class CellEditorDelegate;
    void openEditorOnCurrent();
    void fitRpmColumnFont(const VariantProfile& profile);
    void beforeMove(const QModelIndex& next);

    MapTableModel* m_model;
    QPointer<QWidget> m_editor;
    QMenu* m_popupMenu = nullptr;
    int m_rpmColumnWidth = 0;
    std::optional<QFont> m_rpmEditorFont;
    bool m_fixedAxes = true;
    bool m_autoPopup = true;
    bool m_silent = false;
};

} // namespace zerwa
