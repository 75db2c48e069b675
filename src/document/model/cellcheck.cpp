// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/model/cellcheck.h"

#include "core/model/cellrules.h"
#include "document/model/editcontext.h"

#include <exception>

namespace zerwa {

CellCheck::CellCheck(EditContext& context)
    : m_context(context) {}

std::optional<QString> CellCheck::selectionMoving(CellPos newCell) {
    MapDocument& document = m_context.document;
    const CellPos left = document.rememberedCell();
    std::optional<QString> refreshError;
    try {
        checkCell(left);
    } catch (const std::exception& error) {
        // A data cell elsewhere that is not a number must not hold the selection back.
        refreshError = QString::fromUtf8(error.what());
    }
    document.closeEdit(); // the visit of the cell that is left ends here
    document.setRememberedCell(newCell);
    return refreshError;
}

void CellCheck::correct(CellPos cell) {
    const QString text = m_context.document.cell(cell);
    const auto range = cellrules::rangeOf(cell, m_context.profile());
    // The corrected text belongs to the same step as the typing it replaces.
    if (range && !cellrules::accepts(text, *range, m_context.numbers))
        m_context.document.typeCell(cell, correctedValue(cell, text));
}

void CellCheck::checkCell(CellPos cell) {
    correct(cell);
    // A heading retitles its line, an rpm cell relabels the points; the values always follow.
    m_context.chart.refresh(refreshAfterCheck(cell), m_context.document.table(), m_context.numbers);
}

ChartRefresh CellCheck::refreshAfterCheck(CellPos cell) {
    return {true, cell.row == 0, cell.column == 0};
}

QString CellCheck::correctedValue(CellPos cell, const QString& text) {
    const ValueRange range = *cellrules::rangeOf(cell, m_context.profile());
    const QString rangeText = cellrules::rangeText(cell, m_context.profile(), m_context.numbers);
    // Every round starts again from the text the cell held when it was left.
    for (;;) {
        const QString answer = m_context.prompter.askCorrectedValue(rangeText, text);
        if (cellrules::accepts(answer, range, m_context.numbers))
            return answer;
    }
}

} // namespace zerwa
