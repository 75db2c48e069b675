#include "mainwindow/cellcheck.h"

#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/prompter.h"
#include "mainwindow/tform1.h"
#include "model/cellrules.h"

#include <exception>
#include <optional>

namespace zerwa {

CellCheck::CellCheck(TForm1& form)
    : m_form(form) {}

void CellCheck::selectionMoved(CellPos newCell) {
    const CellPos left = m_form.rememberedCell();
    std::optional<QString> refreshError;
    try {
        checkCell(left, m_form.table().cell(left.column, left.row));
    } catch (const std::exception& error) {
        // A data cell elsewhere that is not a number must not hold the selection back.
        refreshError = QString::fromUtf8(error.what());
    }
    m_form.setRememberedCell(newCell);
    // No popup menu over the rpm column.
    m_form.StringGrid1->setAutoPopup(newCell.column >= 1);
    if (refreshError)
        m_form.prompter().showError(*refreshError);
}

void CellCheck::checkCell(CellPos cell, const QString& text) {
    if (const auto range = cellrules::rangeOf(cell, m_form.profile())) {
        if (!cellrules::accepts(text, *range, m_form.numbers()))
            m_form.mapModel->setCellText(cell.column, cell.row, correctedValue(cell, text));
    } else {
        m_form.refreshChartTitles();
    }
    if (cell.column == 0)
        m_form.refreshChartRpmLabels();
    m_form.refreshChartValues();
}

QString CellCheck::correctedValue(CellPos cell, const QString& text) {
    const ValueRange range = *cellrules::rangeOf(cell, m_form.profile());
    const QString rangeText = cellrules::rangeText(cell, m_form.profile(), m_form.numbers());
    // Every round starts again from the text the cell held when it was left.
    for (;;) {
        const QString answer = m_form.prompter().askCorrectedValue(rangeText, text);
        if (cellrules::accepts(answer, range, m_form.numbers()))
            return answer;
    }
}

} // namespace zerwa
