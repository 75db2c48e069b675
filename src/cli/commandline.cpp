// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commandline.h"

#include "cli/command.h"
#include "cli/console.h"
#include "cli/options.h"
#include "cli/outputguard.h"
#include "core/model/numberformat.h"

#include <QCoreApplication>
#include <QList>

namespace zerwa::cli {

namespace {

const QString kIntroduction = QStringLiteral(
    "zerwa: maps of zerwa8, zerwa4 and zerwa4_60 from the command line.\n"
    "Usage: zerwa COMMAND [options] ARGUMENTS; zerwa COMMAND --help shows one command,\n"
    "zerwa --help all of them, zerwa --version the version.\n"
    "A map's program is known from its first line. Numbers are read with the user's decimal\n"
    "separator, as the programs read them, unless --decimal says otherwise. Messages about a\n"
    "map are the programs' own. Exit codes: 0 success, 1 as each command says, 2 a file or\n"
    "port that cannot be used, an output that is an input, or a wrong command line, 3 a send\n"
    "whose journal record could not be written; on SIGINT, SIGTERM or SIGHUP send and listen\n"
    "close the port and end with 128 + the signal's number.\n");

QList<Command> commands() {
    return {checkCommand(), frameCommand(),  diffCommand(),   exportCommand(),
            sendCommand(),  listenCommand(), decodeCommand(), journalCommand()};
}

void setUp(QCommandLineParser& parser, const Command& command) {
    parser.setApplicationDescription(command.description);
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                      QStringLiteral("Show this command's help.")});
    if (command.addOptions)
        command.addOptions(parser);
}

QString usageLine(const Command& command) {
    return QStringLiteral("zerwa ") + command.name + QStringLiteral(" [options]") +
           (command.arguments.isEmpty() ? QString() : u' ' + command.arguments);
}

// The command's usage, description and options, from Qt's help text without its own usage
// line (which knows nothing of subcommands).
QString commandHelp(const Command& command) {
    QCommandLineParser parser;
    setUp(parser, command);
    QStringList lines = parser.helpText().split(u'\n');
    lines[0] = QStringLiteral("Usage: ") + usageLine(command);
    return lines.join(u'\n');
}

QString overview() {
    QString text = kIntroduction;
    for (const Command& command : commands())
        text += u'\n' + commandHelp(command);
    return text;
}

int runCommand(const Command& command, const QStringList& arguments) {
    QCommandLineParser parser;
    setUp(parser, command);
    if (!parser.parse(arguments))
        throw UsageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        printLine(commandHelp(command).trimmed());
        return kSuccess;
    }
    // Before anything is read: a map must not be lost to its own export or report.
    const QString clash =
        outputOverInput(parser.positionalArguments(), outputFrom(parser).value_or(QString()));
    if (!clash.isEmpty()) {
        printError(QStringLiteral("zerwa: ") + clash);
        return kBadInput;
    }
    return command.run(parser);
}

} // namespace

int run(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zerwa"));
    const QStringList arguments = QCoreApplication::arguments();
    const QString name = arguments.value(1);
    if (name == u"--help" || name == u"-h" || name == u"help") {
        printLine(overview().trimmed());
        return kSuccess;
    }
    if (name == u"--version") {
        printLine(QStringLiteral("zerwa " ZERWA_VERSION));
        return kSuccess;
    }
    try {
        for (const Command& command : commands()) {
            if (command.name == name)
                return runCommand(command, QStringList{arguments.at(0)} + arguments.mid(2));
        }
        throw UsageError(name.isEmpty() ? QStringLiteral("no command given")
                                        : QStringLiteral("unknown command '%1'").arg(name));
    } catch (const UsageError& error) {
        printError(QStringLiteral("zerwa: ") + error.message() +
                   QStringLiteral(" (zerwa --help lists the commands)"));
        return kBadInput;
    } catch (const ConversionError& error) {
        // Only a value the check let through could get here; report it rather than crash.
        printError(QStringLiteral("zerwa: ") + error.message());
        return kFailed;
    }
}

} // namespace zerwa::cli
