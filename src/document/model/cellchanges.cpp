// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/model/cellchanges.h"

#include <algorithm>
#include <limits>

namespace zerwa {

CellChanges CellChanges::between(const MapTable& before, const MapTable& after) {
    Q_ASSERT(before.cellCount() == after.cellCount());
    CellChanges changes;
    for (int i = 0; i < before.cellCount(); ++i) {
        if (before.cellAt(i) != after.cellAt(i))
            changes.add(i, before.cellAt(i), after.cellAt(i));
    }
    return changes;
}

CellChanges CellChanges::ofCell(const MapTable& table, CellPos cell, const QString& after) {
    CellChanges changes;
    if (table.cell(cell) != after)
        changes.add(table.indexOf(cell), table.cell(cell), after);
    return changes;
}

void CellChanges::add(int index, const QString& before, const QString& after) {
    m_indices.append(index);
    m_before.append(before);
    m_after.append(after);
}

void CellChanges::mergeLater(const CellChanges& later) {
    const QStringList laterAfter = later.m_after.all();
    QStringList before = m_before.all();
    QStringList after = m_after.all();
    QList<int> indices = m_indices;
    for (int i = 0; i < later.size(); ++i) {
        const int at = int(indices.indexOf(later.m_indices.at(i)));
        if (at >= 0) {
            after[at] = laterAfter.at(i);
        } else {
            indices.append(later.m_indices.at(i));
            before.append(later.m_before.at(i));
            after.append(laterAfter.at(i));
        }
    }
    CellChanges merged;
    for (int i = 0; i < indices.size(); ++i) {
        if (before.at(i) != after.at(i)) // a text typed back to what it was is no change
            merged.add(indices.at(i), before.at(i), after.at(i));
    }
    *this = merged;
}

void CellChanges::apply(MapTable& table, const Texts& texts) const {
    qsizetype start = 0;
    for (int i = 0; i < m_indices.size(); ++i) {
        const qsizetype length = texts.lengths.at(i);
        table.setCellAt(m_indices.at(i), texts.chars.mid(start, length));
        start += length;
    }
}

bool CellChanges::touchesHeadings(const MapTable& table) const {
    return std::any_of(m_indices.begin(), m_indices.end(),
                       [&table](int i) { return table.posOf(i).row == 0; });
}

bool CellChanges::touchesRpmColumn(const MapTable& table) const {
    return std::any_of(m_indices.begin(), m_indices.end(),
                       [&table](int i) { return table.posOf(i).column == 0; });
}

bool CellChanges::touchesDataCells(const MapTable& table) const {
    return std::any_of(m_indices.begin(), m_indices.end(), [&table](int i) {
        const CellPos pos = table.posOf(i);
        return pos.row > 0 && pos.column > 0;
    });
}

std::pair<CellPos, CellPos> CellChanges::bounds(const MapTable& table) const {
    CellPos low{std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};
    CellPos high{-1, -1};
    for (const int i : m_indices) {
        const CellPos pos = table.posOf(i);
        low = {std::min(low.column, pos.column), std::min(low.row, pos.row)};
        high = {std::max(high.column, pos.column), std::max(high.row, pos.row)};
    }
    return {low, high};
}

void CellChanges::Texts::append(const QString& text) {
    chars += text;
    lengths.append(text.size());
}

QString CellChanges::Texts::at(int i) const {
    qsizetype start = 0;
    for (int k = 0; k < i; ++k)
        start += lengths.at(k);
    return chars.mid(start, lengths.at(i));
}

QStringList CellChanges::Texts::all() const {
    QStringList texts;
    qsizetype start = 0;
    for (const qsizetype length : lengths) {
        texts.append(chars.mid(start, length));
        start += length;
    }
    return texts;
}

} // namespace zerwa
