#include "mainwindow/maptablemodel.h"

namespace zerwa {

MapTableModel::MapTableModel(MapTable table, QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(std::move(table)) {}

void MapTableModel::setCellText(int column, int row, const QString& text) {
    m_table.setCell(column, row, text);
    announceCell(column, row);
}

void MapTableModel::setTable(const MapTable& table) {
    Q_ASSERT(table.columns() == m_table.columns() && table.rows() == m_table.rows());
    m_table = table;
    emit dataChanged(index(0, 0), index(m_table.rows() - 1, m_table.columns() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, m_table.columns() - 1);
    emit headerDataChanged(Qt::Vertical, 0, m_table.rows() - 1);
}

void MapTableModel::setAxesEditable(bool editable) {
    m_axesEditable = editable;
}

int MapTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.rows();
}

int MapTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_table.columns();
}

QVariant MapTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_table.cell(index.column(), index.row());
}

bool MapTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    if (text == m_table.cell(index.column(), index.row()))
        return true;
    setCellText(index.column(), index.row(), text);
    return true;
}

Qt::ItemFlags MapTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const bool axisCell = index.row() == 0 || index.column() == 0;
    if (axisCell && !m_axesEditable)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant MapTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_table.columns() ? m_table.cell(section, 0) : QVariant();
    return section < m_table.rows() ? m_table.cell(0, section) : QVariant();
}

void MapTableModel::announceCell(int column, int row) {
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
    if (row == 0)
        emit headerDataChanged(Qt::Horizontal, column, column);
    if (column == 0)
        emit headerDataChanged(Qt::Vertical, row, row);
    emit cellTextChanged(column, row);
}

} // namespace zerwa
