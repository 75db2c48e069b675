// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/maptablemodel.h"

#include "core/model/cellrules.h"
#include "document/compare/mapcomparison.h"
#include "document/model/mapdocument.h"

#include <QBrush>
#include <QSize>

namespace zerwa {

MapTableModel::MapTableModel(MapDocument& document, const NumberFormat& numbers, QObject* parent)
    : QAbstractTableModel(parent)
    , m_document(document)
    , m_numbers(numbers) {
    connect(&document, &MapDocument::cellsChanged, this, &MapTableModel::announceCells);
    connect(&document, &MapDocument::markChanged, this, [this](const MapMark& previous) {
        for (const auto& cell : {previous.cell, m_document.mark().cell}) {
            if (cell)
                announceCells(*cell, *cell);
        }
    });
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

void MapTableModel::setComparison(const MapComparison* comparison) {
    m_comparison = comparison;
    connect(comparison, &MapComparison::cellMarksChanged, this, &MapTableModel::announceCells);
}

void MapTableModel::setValueColours(bool on) {
    if (on == m_valueColours)
        return;
    m_valueColours = on;
    announceEverything();
}

CellDecoration MapTableModel::decoration(int column, int row) const {
    const CellPos cell{column, row};
    CellDecoration decoration;
    const auto& refused = m_document.mark().cell;
    decoration.refused = refused && *refused == cell;
    if (decoration.refused) {
        decoration.background = celldecoration::refusedColour();
    } else if (m_valueColours && column > 0 && row > 0) {
        // Text that is not a number, and a value out of range, stay as they are.
        const QString& text = table().cell(cell);
        if (cellrules::accepts(text, {cellrules::dataMinimum, cellrules::dataMaximum}, m_numbers))
            decoration.background = celldecoration::valueColour(m_numbers.fallback(text));
    }
    if (decoration.background)
        decoration.text = celldecoration::textColourOn(*decoration.background);
    if (m_comparison && m_comparison->differs(cell)) {
        decoration.differs = true;
        decoration.toolTip = m_comparison->note(cell);
    }
    return decoration;
}

QVariant MapTableModel::decorationRole(CellPos cell, int role) const {
    if (role != Qt::BackgroundRole && role != Qt::ForegroundRole && role != Qt::FontRole &&
        role != Qt::ToolTipRole)
        return {};
    const CellDecoration d = decoration(cell.column, cell.row);
    switch (role) {
    case Qt::BackgroundRole:
        return d.background ? QVariant(QBrush(*d.background)) : QVariant();
    case Qt::ForegroundRole:
        return d.text ? QVariant(QBrush(*d.text)) : QVariant();
    case Qt::ToolTipRole:
        return d.toolTip.isEmpty() ? QVariant() : QVariant(d.toolTip);
    default: // the font: the rpm column's own; bold for a difference
        if (cell.column == 0)
            return m_rpmFonts.cell(d.differs);
        if (!d.differs)
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
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
    return decorationRole({index.column(), index.row()}, role);
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
    const bool headings = orientation == Qt::Horizontal;
    if (section >= (headings ? table().columns() : table().rows()))
        return {};
    const CellPos cell = headings ? CellPos{section, 0} : CellPos{0, section};
    if (role == Qt::DisplayRole)
        return table().cell(cell);
    // The rpm header has its font from the view; only a difference makes it bold.
    if (role == Qt::FontRole && !headings && !decoration(cell.column, cell.row).differs)
        return {};
    return decorationRole(cell, role);
}

void MapTableModel::announceCells(CellPos topLeft, CellPos bottomRight) {
    emit dataChanged(index(topLeft.row, topLeft.column),
                     index(bottomRight.row, bottomRight.column));
    if (topLeft.row == 0)
        emit headerDataChanged(Qt::Horizontal, topLeft.column, bottomRight.column);
    if (topLeft.column == 0)
        emit headerDataChanged(Qt::Vertical, topLeft.row, bottomRight.row);
}

void MapTableModel::announceEverything() {
    announceCells({0, 0}, {table().columns() - 1, table().rows() - 1});
}

} // namespace zerwa
