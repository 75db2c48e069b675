// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/capturereport.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/framelistener.h"
#include "cli/options.h"
#include "cli/portargument.h"
#include "cli/stopsignals.h"

#include <QCoreApplication>

namespace zerwa::cli {

namespace {

const QString kOnce = QStringLiteral("once");

int run(const QCommandLineParser& parser) {
    positionals(parser, 0, 0);
    const NumberFormat numbers = numbersFrom(parser);
    const VariantProfile* variant = variantFrom(parser);
    if (!variant)
        throw UsageError(QStringLiteral("listen needs --variant"));
    const PortArgument port = portFrom(parser);
    const QString device = port.name();
    const bool once = parser.isSet(kOnce);

    const StopSignals stopSignals; // outlives the port, which it lets close on a signal
    FrameListener listener;
    QString failure;
    if (!listener.open(port, &failure)) {
        printError(oneLine(failure));
        return kBadInput;
    }
    QObject::connect(&listener, &FrameListener::frameReceived, qApp, [&](const QByteArray& bytes) {
        const int result = reportCapture(bytes, variant, numbers.decimalSeparator());
        printLine(QString());
        if (once)
            QCoreApplication::exit(result == kSuccess ? kSuccess : kFailed);
    });
    QObject::connect(&listener, &FrameListener::lost, qApp, [&](const QString& reason) {
        printError(QStringLiteral("lost %1: %2").arg(device, reason));
        QCoreApplication::exit(kBadInput);
    });
    printError(
        QStringLiteral("listening on %1 at 2400 baud 8N1 as %2").arg(device, variant->programName));
    return QCoreApplication::exec();
}

} // namespace

Command listenCommand() {
    return {QStringLiteral("listen"), QString(),
            QStringLiteral("The device's side of the line, for testing a cable or adapter: "
                           "opens the port read-only at\n2400 baud 8N1, takes each run of bytes "
                           "after a pause as a frame and prints it as decode does.\nWith --once "
                           "it ends after the first frame: exit 0 for a well-formed one, 1 for a "
                           "broken one.\nSIGINT, SIGTERM or SIGHUP close the port and end with "
                           "128 + the signal's number."),
            [](QCommandLineParser& parser) {
                addPortOption(parser, QStringLiteral("The port to listen on"));
                addVariantOption(parser, QStringLiteral("The program whose frames to expect."));
                parser.addOption({kOnce, QStringLiteral("End after the first frame.")});
                addDecimalOption(parser);
            },
            run};
}

} // namespace zerwa::cli
