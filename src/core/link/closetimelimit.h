// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <chrono>

namespace zerwa {

// How long closing the port may take before it is cut short: the line time of the bytes
// queued since the open, at 2400 baud and 10 bits a byte (start, 8 data, stop), times a
// factor, plus a margin for the driver and the adapter. 381 bytes take 1.5875 s on the line,
// so their close may take 5.175 s; 741 bytes, 8.175 s.
struct CloseTimeLimit {
    int lineTimeFactor = 2;
    std::chrono::milliseconds margin{2000};

    std::chrono::milliseconds forBytes(qint64 bytes) const;
};

} // namespace zerwa
