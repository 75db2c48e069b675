// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"

#include <QList>
#include <QString>

namespace zerwa {

// The cells one edit changed, with their texts before and after. Kept compact, because a
// full history holds a thousand of these: the texts of all changed cells share one string
// per side.
class CellChanges {
public:
    // Every cell whose text differs between the two tables (of the same size).
    static CellChanges between(const MapTable& before, const MapTable& after);
    // One cell of `table` taking a new text (an empty record when the text is the same).
    static CellChanges ofCell(const MapTable& table, CellPos cell, const QString& after);

    bool isEmpty() const { return m_indices.isEmpty(); }
    int size() const { return int(m_indices.size()); }
    CellPos cell(int i, const MapTable& table) const { return table.posOf(m_indices.at(i)); }

    void applyAfter(MapTable& table) const { apply(table, m_after); }
    void applyBefore(MapTable& table) const { apply(table, m_before); }

    // Continues this record with a later change of the same cells: the texts before stay,
    // the texts after become the later ones. Cells the later change adds are taken in too.
    void mergeLater(const CellChanges& later);

    // Whether any changed cell lies in row 0 (headings) or column 0 (rpm break-points).
    bool touchesHeadings(const MapTable& table) const;
    bool touchesRpmColumn(const MapTable& table) const;
    bool touchesDataCells(const MapTable& table) const;
    // The smallest rectangle holding every changed cell: top-left and bottom-right.
    std::pair<CellPos, CellPos> bounds(const MapTable& table) const;

private:
    // Texts of one side, end to end, with each text's length.
    struct Texts {
        QString chars;
        QList<qsizetype> lengths;
        void append(const QString& text);
        QString at(int i) const;
        QStringList all() const;
    };
    void apply(MapTable& table, const Texts& texts) const;
    void add(int index, const QString& before, const QString& after);

    QList<int> m_indices;
    Texts m_before;
    Texts m_after;
};

} // namespace zerwa
