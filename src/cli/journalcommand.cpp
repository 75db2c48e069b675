// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/capture.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/journaltexts.h"
#include "cli/options.h"
#include "core/journal/journal.h"
#include "core/journal/journalfolder.h"
#include "core/journal/journalformat.h"
#include "core/link/downloadframe.h"
#include "core/model/variantprofiles.h"
#include "core/storage/linesfile.h"

#include <QMap>

namespace zerwa::cli {

namespace {

const QString kProgram = QStringLiteral("program");
const QString kPort = QStringLiteral("port");
const QString kSince = QStringLiteral("since");
const QString kJson = QStringLiteral("json");
const QString kOutput = QStringLiteral("o");
const QString kLast = QStringLiteral("last");

// A journal problem the command cannot get past (exit 2).
struct JournalFailure {
    JournalProblem problem;
};

// What each action takes: its positional arguments after the action, and its options.
struct Action {
    int arguments;
    QStringList options;
};
const QMap<QString, Action>& actions() {
    static const QMap<QString, Action> table = {
        {QStringLiteral("list"), {0, {kProgram, kPort, kSince, kJson}}},
        {QStringLiteral("show"), {1, {kProgram}}},
        {QStringLiteral("export"), {1, {kProgram, kOutput}}},
        {QStringLiteral("wire"), {1, {kProgram, kOutput}}},
        {QStringLiteral("note"), {2, {kProgram}}},
        {QStringLiteral("find"), {1, {kProgram}}}};
    return table;
}

QStringList programNames() {
    QStringList names;
    for (const VariantProfile* profile : profiles::all())
        names << profile->programName;
    return names;
}

const VariantProfile* programFrom(const QCommandLineParser& parser) {
    if (!parser.isSet(kProgram))
        return nullptr;
    if (const VariantProfile* profile = profiles::forProgramName(parser.value(kProgram)))
        return profile;
    throw UsageError(QStringLiteral("--program takes %1 (not '%2')")
                         .arg(programNames().join(QStringLiteral(", ")), parser.value(kProgram)));
}

// A date (midnight, local time) or a date and time (local unless an offset is given).
QDateTime sinceFrom(const QCommandLineParser& parser) {
    if (!parser.isSet(kSince))
        return QDateTime();
    const QDateTime since = QDateTime::fromString(parser.value(kSince), Qt::ISODateWithMs);
    if (!since.isValid())
        throw UsageError(QStringLiteral("--since takes a date (2025-03-14) or a date and time "
                                        "(2025-03-14T09:30, 2025-03-14T09:30:00+01:00), not '%1'")
                             .arg(parser.value(kSince)));
    return since;
}

class JournalAction {
public:
    explicit JournalAction(const QCommandLineParser& parser)
        : m_parser(parser)
        , m_program(programFrom(parser))
        , m_journal(journalfolder::fromEnvironment()) {
        if (m_journal.folder().isEmpty())
            throw JournalFailure{{JournalProblem::Kind::NoFolder, QString(), QString()}};
    }

    // The records, newest first, of --program when given; files that are not records are
    // named on standard error when `warn` is set.
    QList<JournalEntry> records(bool warn) const {
        Journal::Listing listing = m_journal.list();
        if (listing.problem)
            throw JournalFailure{*listing.problem};
        QList<JournalEntry> records;
        for (const JournalEntry& entry : listing.entries) {
            if (entry.isDamaged()) {
                if (warn)
                    printError(QStringLiteral("zerwa: skipped %1: damaged: %2")
                                   .arg(m_journal.pathOf(entry.id), entry.damage));
            } else if (!m_program || entry.summary->program == m_program->programName) {
                records << entry;
            }
        }
        return records;
    }

    // The record an ID argument names: its id, or "last" for the newest.
    std::pair<QString, JournalRecord> record(const QString& argument) const {
        QString id = argument;
        if (argument == kLast) {
            const QList<JournalEntry> all = records(false);
            if (all.isEmpty())
                throw JournalFailure{{JournalProblem::Kind::NoSuchRecord, m_journal.folder(),
                                      QStringLiteral("it holds none")}};
            id = all.first().id;
        }
        Journal::Read read = m_journal.read(id);
        if (!read.record)
            throw JournalFailure{*read.problem};
        return {id, *read.record};
    }

    int list() const {
        const QString port = m_parser.value(kPort);
        const QDateTime since = sinceFrom(m_parser);
        QList<JournalEntry> chosen;
        for (const JournalEntry& entry : records(true)) {
            const JournalSummary& s = *entry.summary;
            const bool portMatches = port.isEmpty() || s.port == port || s.device == port ||
                                     s.port == QStringLiteral("COM") + port;
            if (portMatches && (!since.isValid() || s.time >= since))
                chosen << entry;
        }
        if (m_parser.isSet(kJson)) {
            printLine(listJson(chosen));
        } else {
            for (const JournalEntry& entry : std::as_const(chosen))
                printLine(listLine(entry));
        }
        return kSuccess;
    }

    int show(const QString& argument) const {
        const auto [id, record] = this->record(argument);
        printLine(showLines(id, record).join(u'\n'));
        return kSuccess;
    }

    int writeOut(const QString& argument, bool map) const {
        const auto [id, record] = this->record(argument);
        if (map && record.summary.mapEncoding != MapEncoding::Windows1250) {
            printError(QStringLiteral("zerwa: the map of %1 holds a text that Windows-1250 "
                                      "cannot carry, so it is not written as a map file")
                           .arg(id));
            return kFailed;
        }
        const QByteArray& bytes = map ? record.map : record.wire;
        if (!m_parser.isSet(kOutput)) {
            writeRaw(bytes);
            return kSuccess;
        }
        const QString path = m_parser.value(kOutput);
        QString reason;
        if (!linesfile::writeBytes(path, bytes, &reason)) {
            printError(QStringLiteral("zerwa: cannot write %1: %2").arg(path, reason));
            return kBadInput;
        }
        return kSuccess;
    }

    int note(const QString& argument, const QString& text) const {
        const QString id = this->record(argument).first;
        if (const auto problem = m_journal.setNote(id, text))
            throw JournalFailure{*problem};
        return kSuccess;
    }

    int find(const QString& name) const {
        const auto bytes = readCaptureFile(name);
        if (!bytes)
            return kBadInput;
        const Capture capture = readCapture(*bytes, m_program);
        if (capture.fault) {
            printError(QStringLiteral("zerwa: %1 holds no frame: fault at offset %2: %3")
                           .arg(name)
                           .arg(capture.fault->offset)
                           .arg(capture.fault->what));
            return kFailed;
        }
        const QString hash = journalformat::sha256Hex(downloadframe::wireImage(capture.frame));
        bool found = false;
        for (const JournalEntry& entry : records(false)) {
            if (entry.summary->sha256 == hash) {
                printLine(entry.id);
                found = true;
            }
        }
        if (!found)
            printError(QStringLiteral("zerwa: no record of the journal holds this frame"));
        return found ? kSuccess : kFailed;
    }

private:
    const QCommandLineParser& m_parser;
    const VariantProfile* m_program;
    Journal m_journal;
};

int run(const QCommandLineParser& parser) {
    const QStringList arguments = parser.positionalArguments();
    const QString name = arguments.value(0);
    if (!actions().contains(name))
        throw UsageError(name.isEmpty() ? QStringLiteral("journal needs an action; see --help")
                                        : QStringLiteral("unknown journal action '%1'").arg(name));
    const Action& action = actions()[name];
    positionals(parser, action.arguments + 1, action.arguments + 1);
    for (const QString& option : parser.optionNames()) {
        if (!action.options.contains(option) && option != u"output")
            throw UsageError(QStringLiteral("journal %1 does not take --%2").arg(name, option));
    }
    if (parser.isSet(QStringLiteral("output")) && !action.options.contains(kOutput))
        throw UsageError(QStringLiteral("journal %1 does not take -o").arg(name));
    try {
        const JournalAction journal(parser);
        const QString argument = arguments.value(1);
        if (name == u"list")
            return journal.list();
        if (name == u"show")
            return journal.show(argument);
        if (name == u"export" || name == u"wire")
            return journal.writeOut(argument, name == u"export");
        if (name == u"note")
            return journal.note(argument, arguments.value(2));
        return journal.find(argument);
    } catch (const JournalFailure& failure) {
        printError(QStringLiteral("zerwa: ") + problemText(failure.problem));
        return kBadInput;
    }
}

} // namespace

Command journalCommand() {
    return {QStringLiteral("journal"), QStringLiteral("ACTION [ID|CAPTURE] [TEXT]"),
            QStringLiteral(
                "The download journal: a record of every download that opened the port, by the\n"
                "programs and by zerwa send (not --dry-run): its local time, program, port and "
                "device,\nmap file, the map and the wire image as sent with the image's SHA-256, "
                "the outcome\n(delivered, close-timed-out, failed or unknown) and a note. It lies "
                "in\n$ZERWA_JOURNAL_DIR, else $XDG_DATA_HOME/zerwa/journal, else\n"
                "~/.local/share/zerwa/journal. ID is a record's id or 'last', the newest (of "
                "--program\nwhen given). Actions:\n"
                "  list                    one line per record, newest first: id, time, program, "
                "port,\n"
                "                          outcome, the hash's first 8 digits, file, note "
                "(--json: an array\n"
                "                          of objects with id, time, program, port, device, file,\n"
                "                          outcome, sha256, bytes, note); --program, --port, "
                "--since filter\n"
                "  show ID                 the record's fields and its map's settings\n"
                "  export ID [-o FILE.qmt] the map, byte for byte as the program saves it\n"
                "  wire ID [-o FILE]       the wire image, byte for byte\n"
                "  note ID TEXT            sets the note (an empty TEXT clears it)\n"
                "  find CAPTURE            the ids of the records whose frame a captured wire "
                "image or\n"
                "                          bare frame holds (read as decode reads it)\n"
                "Files in the folder that are not whole records are named on standard error and "
                "skipped.\nExit 0 success, 1 find found nothing or export met a map that is not "
                "Windows-1250,\n2 no such record, a damaged record, a journal or file that cannot "
                "be used, or a\nwrong command line."),
            [](QCommandLineParser& parser) {
                parser.addOption({kProgram,
                                  QStringLiteral("Only records of this program (list, find; "
                                                 "'last' of the others)."),
                                  programNames().join(u'|')});
                parser.addOption({kPort,
                                  QStringLiteral("list: only records sent through this port (COM1, "
                                                 "1, or a device path) or to this device."),
                                  QStringLiteral("PORT")});
                parser.addOption({kSince,
                                  QStringLiteral("list: only records from this time on (local "
                                                 "time unless an offset is given)."),
                                  QStringLiteral("DATE")});
                parser.addOption({kJson, QStringLiteral("list: a JSON array instead of lines.")});
                parser.addOption({QStringList{kOutput, QStringLiteral("output")},
                                  QStringLiteral("export, wire: write to FILE instead of standard "
                                                 "output (replaced only once complete)."),
                                  QStringLiteral("FILE")});
            },
            run};
}

} // namespace zerwa::cli
