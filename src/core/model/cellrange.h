// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"

namespace zerwa {

// A rectangle of grid cells, both corners included.
struct CellRange {
    CellPos topLeft;
    CellPos bottomRight;

    int width() const { return bottomRight.column - topLeft.column + 1; }
    int height() const { return bottomRight.row - topLeft.row + 1; }
    bool contains(CellPos cell) const {
        return cell.column >= topLeft.column && cell.column <= bottomRight.column &&
               cell.row >= topLeft.row && cell.row <= bottomRight.row;
    }
    friend bool operator==(const CellRange&, const CellRange&) = default;
};

} // namespace zerwa
