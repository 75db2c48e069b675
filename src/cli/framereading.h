// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/variantprofile.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

namespace zerwa::cli {

// A frame byte the program never sends.
struct FrameFault {
    int index = 0;
    QString what;
};

// What the device took from a frame of the profile's length: the mode and polarities, each
// setting as the range of values that encode to its byte, and every cell value (byte / 2)
// at its map column and rpm row.
QStringList describeFrame(const VariantProfile& profile, const QByteArray& frame, QChar separator);

// The first byte, in index order, that no map passing the check could give: a mode byte
// other than 03, 43, 83, C3; a setting outside its range (the limit period, whose bytes stand
// at indices 2 and 65, at its low byte); a cell 0 or above 0x7F; a constant
// byte that is not 0x0C; a cylinder byte whose low nibble is not F or whose count the
// program does not offer.
std::optional<FrameFault> findFrameFault(const VariantProfile& profile, const QByteArray& frame);

} // namespace zerwa::cli
