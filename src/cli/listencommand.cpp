// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/capturereport.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/framelistener.h"
#include "cli/options.h"

#include <QCoreApplication>

namespace zerwa::cli {

namespace {

const QString kPort = QStringLiteral("port");
const QString kOnce = QStringLiteral("once");

int run(const QCommandLineParser& parser) {
    positionals(parser, 0, 0);
    const NumberFormat numbers = numbersFrom(parser);
    const VariantProfile* variant = variantFrom(parser);
    if (!parser.isSet(kPort) || !variant)
        throw UsageError(QStringLiteral("listen needs --port and --variant"));
    const QString device = parser.value(kPort);
    const bool once = parser.isSet(kOnce);

    FrameListener listener;
    QString reason;
    if (!listener.open(device, &reason)) {
        printError(QStringLiteral("cannot open %1: %2").arg(device, reason));
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
                           "broken one."),
            [](QCommandLineParser& parser) {
                parser.addOption(
                    {kPort, QStringLiteral("The device to listen on."), QStringLiteral("DEVICE")});
                addVariantOption(parser, QStringLiteral("The program whose frames to expect."));
                parser.addOption({kOnce, QStringLiteral("End after the first frame.")});
                addDecimalOption(parser);
            },
            run};
}

} // namespace zerwa::cli
