// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zerwa::cli {

// --port N|DEVICE: a port number as the programs know it, or a device path used as it is.
struct PortArgument {
    int number = 0; // 0 when a path was given
    QString device; // the device it opens

    // Port n opens COMn in the current folder when there is such an entry, else
    // /dev/ttyS<n-1>, as in the programs. Throws UsageError for a number below 1.
    static PortArgument parse(const QString& text);
};

} // namespace zerwa::cli
