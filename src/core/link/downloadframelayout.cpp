// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/downloadframelayout.h"

namespace zerwa::downloadframe {

namespace {

constexpr int kBlockCells = 60; // cells in block A and in block B
constexpr int kBlockAStart = 3;
constexpr int kBlockBStart = 66;
constexpr int kBlockCStart = 126;     // first index of block C (longer frames only)
constexpr int kFixedFrameBytes = 127; // frame without block C

} // namespace

QList<FrameField> layout(const VariantProfile& profile) {
    using Kind = FrameField::Kind;
    Q_ASSERT(profile.frameBlockRows * profile.mapColumns == 2 * kBlockCells);
    Q_ASSERT(profile.frameLength ==
             kFixedFrameBytes + (profile.rpmRows - profile.frameBlockRows) * profile.mapColumns);
    QList<FrameField> fields(profile.frameLength);
    fields[0] = {Kind::Mode, {}};
    fields[1] = {Kind::Closing, {}};
    fields[2] = {Kind::LimitLow, {}};
    fields[63] = {Kind::Constant, {}};
    fields[64] = {Kind::Opening, {}};
    fields[65] = {Kind::LimitHigh, {}};
    fields[profile.frameLength - 1] = {Kind::Cylinders, {}};

    const int columns = profile.mapColumns;
    // Descending position k counts from the last map column of `lastRow`.
    auto place = [&](int index, int lastRow, int k) {
        fields[index] = {Kind::Cell, {columns - k % columns, lastRow - k / columns}};
    };
    for (int k = 0; k < 2 * kBlockCells; ++k)
        place(k < kBlockCells ? kBlockAStart + k : kBlockBStart + k - kBlockCells,
              profile.frameBlockRows, k);
    const int extraCells = (profile.rpmRows - profile.frameBlockRows) * columns;
    for (int k = 0; k < extraCells; ++k)
        place(kBlockCStart + k, profile.rpmRows, k);
    return fields;
}

char cellBlock(int index) {
    if (index < kBlockBStart)
        return 'A';
    return index < kBlockCStart ? 'B' : 'C';
}

} // namespace zerwa::downloadframe
