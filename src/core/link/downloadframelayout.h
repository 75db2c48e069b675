// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"

#include <QList>

namespace zerwa::downloadframe {

// What one frame byte carries.
struct FrameField {
    enum class Kind {
        Mode,      // 0x03, plus 0x80 for a rising input, plus 0x40 for a rising output
        Closing,   // 2-degree steps in control mode, else 0.4096 ms steps
        LimitLow,  // low byte of the limit period
        Cell,      // half units of one data cell
        Constant,  // always 0x0C
        Opening,   // 0x00 in control mode, else 25.6 us steps
        LimitHigh, // high byte of the limit period
        Cylinders  // the count in the high nibble, 0xF in the low one
    };
    Kind kind = Kind::Constant;
    CellPos cell; // for Cell

    friend bool operator==(const FrameField&, const FrameField&) = default;
};

inline constexpr char kConstantByte = 0x0C;

// The frame byte by byte, index 0 first (127 or 247 entries). The data cells go in
// descending order, from a last row upwards and each row from the last map column down to
// column 1: blocks A (indices 3..62) and B (66..125) take rows R0..1 with R0 = 120 / L, so
// in zerwa8 row 8 is split between them; the longer frame's block C (126..245) takes the
// rows above R0. The cylinder byte is last.
QList<FrameField> layout(const VariantProfile& profile);

// The cell block a cell's frame index lies in: 'A', 'B' or 'C'.
char cellBlock(int index);

} // namespace zerwa::downloadframe
