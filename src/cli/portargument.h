// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QString>

namespace zerwa::cli {

// --port N|DEVICE: a port number as the programs know it, or a device path used as it is.
struct PortArgument {
    int number = 0; // 0 when a path was given
    QString device; // the path it opens (a COMn link is followed when it is opened)

    // Port n opens COMn in the current folder when there is such an entry, else
    // /dev/ttyS<n-1>, as in the programs. Throws UsageError for a number below 1.
    static PortArgument parse(const QString& text);
    // How messages name it: "COM3 (/dev/ttyS2)" as the programs do, or the path given.
    QString name() const;
};

// The --port option of send and listen; `what` says what the port is for.
void addPortOption(QCommandLineParser& parser, const QString& what);
// Throws UsageError when the option is missing.
PortArgument portFrom(const QCommandLineParser& parser);

} // namespace zerwa::cli
