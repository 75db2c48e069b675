// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/portargument.h"

#include "cli/options.h"
#include "core/link/portdevice.h"

#include <QDir>

namespace zerwa::cli {

namespace {

const QString kPort = QStringLiteral("port");

} // namespace

PortArgument PortArgument::parse(const QString& text) {
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (!isNumber)
        return {0, text};
    if (number < 1)
        throw UsageError(QStringLiteral("--port takes a port number from 1 or a device path"));
    return {number, portdevice::devicePath(number, QDir::currentPath())};
}

QString PortArgument::name() const {
    return number > 0 ? portdevice::describe(number, device) : device;
}

void addPortOption(QCommandLineParser& parser, const QString& what) {
    parser.addOption({kPort,
                      what + QStringLiteral(": a port number as in the programs (COMn in the "
                                            "current folder, else /dev/ttyS<n-1>), or a device "
                                            "path."),
                      QStringLiteral("N|DEVICE")});
}

PortArgument portFrom(const QCommandLineParser& parser) {
    if (!parser.isSet(kPort))
        throw UsageError(QStringLiteral("--port is missing"));
    return PortArgument::parse(parser.value(kPort));
}

} // namespace zerwa::cli
