// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command.h"
#include "cli/console.h"
#include "cli/hexdump.h"
#include "cli/mapsource.h"
#include "cli/options.h"
#include "cli/placenames.h"
#include "cli/portargument.h"
#include "cli/sendjournal.h"
#include "cli/sendsequence.h"
#include "cli/stopsignals.h"
#include "core/journal/journalfolder.h"
#include "core/link/downloadcheck.h"
#include "core/link/downloadframe.h"
#include "core/link/qtserialport.h"
#include "core/link/serialporterror.h"

#include <QCoreApplication>
#include <QDir>

namespace zerwa::cli {

namespace {

const QString kDryRun = QStringLiteral("dry-run");

int send(const PortArgument& port, const QByteArray& frame, SendJournal& journal) {
    const StopSignals stopSignals; // outlives the port, which it lets close on a signal
    QtSerialPort serial(QDir::currentPath());
    if (port.number > 0)
        serial.selectPort(port.number);
    else
        serial.selectDevice(port.device);
    SendSequence sequence(serial, frame, &journal);
    QObject::connect(&sequence, &SendSequence::finished, qApp, &QCoreApplication::exit);
    try {
        sequence.start();
    } catch (const SerialPortError& error) {
        printError(oneLine(error.message()));
        return kBadInput;
    }
    return journal.exitCode(QCoreApplication::exec());
}

int run(const QCommandLineParser& parser) {
    const QString name = positionals(parser, 1, 1).first();
    const NumberFormat numbers = numbersFrom(parser);
    const PortArgument port = portFrom(parser);

    const MapLoad load = loadMap(name);
    if (!load.map) {
        printError(load.error);
        return kBadInput;
    }
    const MapFileContent& map = load.map->content;
    const VariantProfile& profile = *load.map->profile;
    if (const auto refused = refusalOf(*load.map, numbers)) {
        printError(name + QStringLiteral(": ") + *refused);
        return kFailed;
    }
    const QByteArray frame = EncodeDownloadFrame(profile, map.table, map.settings, numbers);
    if (parser.isSet(kDryRun)) {
        const QByteArray wire = downloadframe::wireImage(frame);
        printLine(QStringLiteral("%1 at 2400 baud 8N1: a break of %2 ms, then %3 bytes:")
                      .arg(port.device)
                      .arg(SendSequence::kBreakMs)
                      .arg(wire.size()));
        printLine(hexLines(wire));
        return kSuccess;
    }
    SendJournal journal(journalfolder::fromEnvironment(), *load.map, port,
                        numbers.decimalSeparator(), frame);
    return send(port, frame, journal);
}

} // namespace

Command sendCommand() {
    return {QStringLiteral("send"), QStringLiteral("MAP.qmt"),
            QStringLiteral("Downloads the map as its program does: the pre-download check, a "
                           "break of 500 ms, the frame\nunits, and a close that lets every byte "
                           "leave the driver. Exit 0 only once the last byte\nhas left, 1 when "
                           "the map fails the check (nothing is opened) or not every byte left, "
                           "2 when\nthe file or the port cannot be used, 3 when every byte left "
                           "but the download's journal record\n(see zerwa journal) could not be "
                           "written. SIGINT, SIGTERM or SIGHUP close the port (units already\n"
                           "queued leave first) and end with 128 + the signal's number."),
            [](QCommandLineParser& parser) {
                addPortOption(parser, QStringLiteral("The port to send on"));
                parser.addOption({kDryRun, QStringLiteral("Check and show what would be sent; "
                                                          "open nothing.")});
                addDecimalOption(parser);
            },
            run};
}

} // namespace zerwa::cli
