// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineParser>
#include <QString>

#include <functional>

namespace zerwa::cli {

// One subcommand of the tool: its name, what it takes, what it does, its options, and the
// work itself, which returns the exit code.
struct Command {
    QString name;
    QString arguments;   // positional arguments as the usage line shows them
    QString description; // a few lines for --help
    std::function<void(QCommandLineParser&)> addOptions;
    std::function<int(const QCommandLineParser&)> run;
};

Command checkCommand();
Command frameCommand();
Command diffCommand();
Command exportCommand();
Command sendCommand();
Command listenCommand();
Command decodeCommand();
Command journalCommand();

} // namespace zerwa::cli
