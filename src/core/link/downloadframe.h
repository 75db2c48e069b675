// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/model/maptable.h"
#include "core/model/numberformat.h"
#include "core/model/settingsblock.h"
#include "core/model/variantprofile.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace zerwa {

// The download frame: 127 bytes (zerwa8, zerwa4) or 247 bytes (zerwa4_60), built from the
// data cells and the settings; the rpm column and the headings are not part of it.
//
// Numbers are read from their text with the strict conversion (a text that is not a number
// throws ConversionError) and scaled with exact decimal arithmetic, truncating toward zero.
// Every value is first held inside the range the pre-download check accepts: a text that the
// check lets through because it rounds to a range end in single precision ("0,49999999"
// rounds to 0,5) is sent as that end (cell byte 1, not 0). Values inside the ranges are
// untouched by this; values outside them never reach the device, because the check runs
// right before the frame is built.
QByteArray EncodeDownloadFrame(const VariantProfile& profile, const MapTable& table,
                               const SettingsBlock& settings, const NumberFormat& numbers);

namespace downloadframe {

inline constexpr int kUnitSize = 3;

// How a value becomes its byte: floor(value * numerator / denominator), exact on its decimal
// text.
struct Scaling {
    std::uint32_t numerator;
    std::uint32_t denominator;
};
inline constexpr Scaling kCellScaling{2, 1};          // half units
inline constexpr Scaling kClosingAngleScaling{1, 2};  // 2-degree steps
inline constexpr Scaling kClosingMsScaling{625, 256}; // 0.4096 ms steps
inline constexpr Scaling kOpeningMsScaling{625, 16};  // 25.6 us steps
// The limit period is floor(this / limiting rpm): one revolution in 1.6 us steps.
inline constexpr std::uint32_t kLimitPeriodDividend = 37'500'000;
inline constexpr int kCylinderNibble = 0x0F; // the cylinder byte's low nibble

// The byte a data cell's text becomes in the frame (its half units), or nothing when the
// check before a download refuses the text: the device never gets it.
std::optional<int> cellByte(const QString& text, const NumberFormat& numbers);

// How one frame byte travels on the wire: the byte, then 0xFF, then 0xFF.
QByteArray unit(char frameByte);
// Every unit of the frame in index order: 381 or 741 bytes.
QByteArray wireImage(const QByteArray& frame);

} // namespace downloadframe

} // namespace zerwa
