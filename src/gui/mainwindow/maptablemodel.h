// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>

namespace zerwa {

class MapDocument;

// Shows the map document's table to the grid view. Row 0 and column 0 are ordinary cells;
// they also feed the header sections that the view shows while the axes are fixed. Text
// typed into a cell goes to the document as typing.
class MapTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MapTableModel(MapDocument& document, QObject* parent = nullptr);

    const MapTable& table() const;
    const QString& cellText(int column, int row) const { return table().cell(column, row); }
    // A keystroke's text for the cell (one step of the history per visit).
    void setCellText(int column, int row, const QString& text);
    // Every cell at once, as one edit.
    void setTable(const MapTable& table);

    // While the axes are fixed, row 0 and column 0 can be neither selected nor edited.
    void setAxesEditable(bool editable);
    // The background of a value the download check refused.
    static QColor markColour();

    // The font of the rpm column, narrow enough for five digits.
    void setRpmColumnFont(const QFont& font) { m_rpmFont = font; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool isMarked(int column, int row) const;
    void announceCells(CellPos topLeft, CellPos bottomRight);

    MapDocument& m_document;
    bool m_axesEditable = false;
    QFont m_rpmFont;
};

} // namespace zerwa
