// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/portargument.h"

#include "cli/options.h"
#include "core/link/portdevice.h"

#include <QDir>

namespace zerwa::cli {

PortArgument PortArgument::parse(const QString& text) {
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (!isNumber)
        return {0, text};
    if (number < 1)
        throw UsageError(QStringLiteral("--port takes a port number from 1 or a device path"));
    return {number, portdevice::devicePath(number, QDir::currentPath())};
}

} // namespace zerwa::cli
