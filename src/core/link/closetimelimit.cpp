// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/closetimelimit.h"

namespace zerwa {

namespace {

constexpr qint64 kBitsPerSecond = 2400;
constexpr qint64 kBitsPerByte = 10;

} // namespace

std::chrono::milliseconds CloseTimeLimit::forBytes(qint64 bytes) const {
    const qint64 bitMs = lineTimeFactor * bytes * kBitsPerByte * 1000;
    return std::chrono::milliseconds((bitMs + kBitsPerSecond - 1) / kBitsPerSecond) + margin;
}

} // namespace zerwa
