// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"
#include "document/model/chartrefresh.h"

#include <QString>

#include <optional>

namespace zerwa {

struct EditContext;

// What happens when the grid's selection is about to move: the cell that is left (the
// remembered cell) is checked and, when its value is out of range, corrected through the
// correction dialog, which insists on a valid value; the chart follows; then the new cell
// is remembered.
class CellCheck {
public:
    explicit CellCheck(EditContext& context);

    // The grid's cell-change event, run before the selection moves. The move always goes
    // through: an error of the chart refresh is returned, to be reported after the move.
    std::optional<QString> selectionMoving(CellPos newCell);

    // The value part of the check: a cell of a kind with a range whose text lies outside it is
    // corrected through the correction dialog. No chart refresh.
    void correct(CellPos cell);
    // What the chart re-reads after the check of a cell.
    static ChartRefresh refreshAfterCheck(CellPos cell);

private:
    void checkCell(CellPos cell);
    QString correctedValue(CellPos cell, const QString& text);

    EditContext& m_context;
};

} // namespace zerwa
