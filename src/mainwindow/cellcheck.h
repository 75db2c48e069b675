#pragma once

#include "model/variantprofile.h"

#include <QString>

namespace zerwa {

class TForm1;

// What happens when the grid's selection moves: the cell that was left (the remembered
// cell) is checked and, when its value is out of range, corrected through the correction
// dialog, which insists on a valid value; the chart follows; then the new cell is remembered.
class CellCheck {
public:
    explicit CellCheck(TForm1& form);

    // The grid's cell-change event. The move always goes through; an error of the chart
    // refresh is reported once, after the move.
    void selectionMoved(CellPos newCell);

private:
    void checkCell(CellPos cell, const QString& text);
    QString correctedValue(CellPos cell, const QString& text);

    TForm1& m_form;
};

} // namespace zerwa
