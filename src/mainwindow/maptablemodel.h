#pragma once

#include "model/maptable.h"

#include <QAbstractTableModel>

namespace zerwa {

// Shows the map table to the grid view. It holds the only copy of the cell texts; row 0 and
// column 0 are ordinary cells, and they also feed the header sections that the view shows
// while the axes are fixed.
class MapTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MapTableModel(MapTable table, QObject* parent = nullptr);

    const MapTable& table() const { return m_table; }
    const QString& cellText(int column, int row) const { return m_table.cell(column, row); }
    void setCellText(int column, int row, const QString& text);
    // Replaces every cell at once (one change notice for the whole table).
    void setTable(const MapTable& table);

    // While the axes are fixed, row 0 and column 0 can be neither selected nor edited.
    void setAxesEditable(bool editable);
    bool axesEditable() const { return m_axesEditable; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // A cell's text changed, by typing or by a command.
    void cellTextChanged(int column, int row);

private:
    void announceCell(int column, int row);

    MapTable m_table;
    bool m_axesEditable = false;
};

} // namespace zerwa
