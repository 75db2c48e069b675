// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/numberformat.h"
#include "gui/mainwindow/celldecoration.h"
#include "gui/mainwindow/rpmfonts.h"

#include <QAbstractTableModel>
#include <QColor>

namespace zerwa {

class MapComparison;
class MapDocument;

// Shows the map document's table to the grid view. Row 0 and column 0 are ordinary cells;
// they also feed the header sections that the view shows while the axes are fixed. Text
// typed into a cell goes to the document as typing.
class MapTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    MapTableModel(MapDocument& document, const NumberFormat& numbers, QObject* parent = nullptr);

    const MapTable& table() const;
    const QString& cellText(int column, int row) const { return table().cell(column, row); }
    // A keystroke's text for the cell (one step of the history per visit).
    void setCellText(int column, int row, const QString& text);
    // Every cell at once, as one edit.
    void setTable(const MapTable& table);

    // While the axes are fixed, row 0 and column 0 can be neither selected nor edited.
    void setAxesEditable(bool editable);
    // The background of a value the download check refused.
    static QColor markColour() { return celldecoration::refusedColour(); }

    // The comparison whose differences the cells show.
    void setComparison(const MapComparison* comparison);
    // Data cells coloured by their values (off at start).
    void setValueColours(bool on);
    bool valueColours() const { return m_valueColours; }
    // Everything the cell shows besides its text, decided here and nowhere else: the refused
    // value, the value colour, the difference from the comparison's reference.
    CellDecoration decoration(int column, int row) const;

    // The fonts of the rpm column (fitted by the grid, which knows its width).
    void setRpmFonts(const RpmFonts& fonts) { m_rpmFonts = fonts; }
    const RpmFonts& rpmFonts() const { return m_rpmFonts; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // A decoration as the view's item roles give it.
    QVariant decorationRole(CellPos cell, int role) const;
    void announceCells(CellPos topLeft, CellPos bottomRight);
    void announceEverything();

    MapDocument& m_document;
    const NumberFormat& m_numbers;
    const MapComparison* m_comparison = nullptr;
    bool m_axesEditable = false;
    bool m_valueColours = false;
    RpmFonts m_rpmFonts;
};

} // namespace zerwa
