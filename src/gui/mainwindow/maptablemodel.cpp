// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/maptablemodel.h"

#include "document/model/mapdocument.h"

#include <QBrush>
#include <QSize>

namespace zerwa {

MapTableModel::MapTableModel(MapDocument& document, QObject* parent)
    : QAbstractTableModel(parent)
    , m_document(document) {
    connect(&document, &MapDocument::cellsChanged, this, &MapTableModel::announceCells);
    connect(&document, &MapDocument::markChanged, this, [this](const MapMark& previous) {
        for (const auto& cell : {previous.cell, m_document.mark().cell}) {
            if (cell)
                announceCells(*cell, *cell);
        }
    });
}

QColor MapTableModel::markColour() {
    return QColor(255, 170, 170);
}

bool MapTableModel::isMarked(int column, int row) const {
    const auto& cell = m_document.mark().cell;
    return cell && cell->column == column && cell->row == row;
}

const MapTable& MapTableModel::table() const {
    return m_document.table();
}

void MapTableModel::setCellText(int column, int row, const QString& text) {
    m_document.typeCell({column, row}, text);
}

void MapTableModel::setTable(const MapTable& table) {
    m_document.changeTable(table, QStringLiteral("table"));
}

void MapTableModel::setAxesEditable(bool editable) {
    m_axesEditable = editable;
}

int MapTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table().rows();
}

int MapTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table().columns();
}

QVariant MapTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return table().cell(index.column(), index.row());
    if (role == Qt::FontRole && index.column() == 0)
        return m_rpmFont;
    if (role == Qt::BackgroundRole && isMarked(index.column(), index.row()))
        return QBrush(markColour());
    return {};
}

bool MapTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    setCellText(index.column(), index.row(), value.toString());
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
    // The grid gives the rpm labels' sections their size (its row height, the rpm column's
    // width), never their text: with no size of their own, the sixty labels are not measured
    // again at every change of the grid.
    if (role == Qt::SizeHintRole && orientation == Qt::Vertical)
        return QSize(0, 0);
    if (role == Qt::BackgroundRole) {
        const bool marked =
            orientation == Qt::Horizontal ? isMarked(section, 0) : isMarked(0, section);
        return marked ? QVariant(QBrush(markColour())) : QVariant();
    }
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < table().columns() ? table().cell(section, 0) : QVariant();
    return section < table().rows() ? table().cell(0, section) : QVariant();
}

void MapTableModel::announceCells(CellPos topLeft, CellPos bottomRight) {
    emit dataChanged(index(topLeft.row, topLeft.column),
                     index(bottomRight.row, bottomRight.column));
    if (topLeft.row == 0)
        emit headerDataChanged(Qt::Horizontal, topLeft.column, bottomRight.column);
    if (topLeft.column == 0)
        emit headerDataChanged(Qt::Vertical, topLeft.row, bottomRight.row);
}

} // namespace zerwa
