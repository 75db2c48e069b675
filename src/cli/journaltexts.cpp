// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/journaltexts.h"

#include "core/journal/journalformat.h"
#include "core/journal/journalmap.h"
#include "core/model/settingslists.h"

#include <algorithm>

namespace zerwa::cli {

namespace {

QString jsonString(const QString& text) {
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c != u'"' && c != u'\\';
    });
    if (plain)
        return u'"' + text + u'"';
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return out + u'"';
}

QString jsonObject(const JournalEntry& entry) {
    const JournalSummary& s = *entry.summary;
    const QList<std::pair<const char*, QString>> fields = {
        {"id", jsonString(entry.id)},
        {"time", jsonString(journalformat::timeText(s.time))},
        {"program", jsonString(s.program)},
        {"port", jsonString(s.port)},
        {"device", jsonString(s.device)},
        {"file", jsonString(s.file)},
        {"outcome", jsonString(journalformat::outcomeName(s.outcome))},
        {"sha256", jsonString(s.sha256)},
        {"bytes", QString::number(s.wireBytes)},
        {"note", jsonString(s.note)}};
    QStringList parts;
    for (const auto& [name, value] : fields)
        parts << u'"' + QLatin1StringView(name) + QStringLiteral("\": ") + value;
    return u'{' + parts.join(QStringLiteral(", ")) + u'}';
}

// A line break in a value (a note may hold one) would start a line of its own.
QString onOneLine(QString text) {
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

// What the outcome means, in words.
QString outcomeLine(const JournalSummary& s) {
    const int frameLength = int(s.wireBytes / 3);
    switch (s.outcome) {
    case JournalOutcome::Delivered:
        return QStringLiteral("delivered: every unit was written and left the line");
    case JournalOutcome::CloseTimedOut:
        return QStringLiteral("close-timed-out: the line did not drain in time, the device may "
                              "not have the whole map");
    case JournalOutcome::Failed:
        return QStringLiteral("failed: %1 of %2 units went out: %3")
            .arg(s.units)
            .arg(frameLength)
            .arg(s.error);
    case JournalOutcome::Unknown:
        break;
    }
    return QStringLiteral("unknown: the program ended before the port was closed");
}

} // namespace

QString problemText(const JournalProblem& problem) {
    using Kind = JournalProblem::Kind;
    const QString& path = problem.path;
    switch (problem.kind) {
    case Kind::NoFolder:
        return QStringLiteral("no journal folder: none of ZERWA_JOURNAL_DIR, XDG_DATA_HOME and "
                              "HOME is set");
    case Kind::NotAFolder:
        return QStringLiteral("the journal folder %1 is not a folder").arg(path);
    case Kind::DanglingLink:
        return QStringLiteral("the journal folder %1 is a link to %2, which does not exist")
            .arg(path, problem.detail);
    case Kind::CannotCreate:
        return problem.detail.isEmpty()
                   ? QStringLiteral("cannot make the journal folder %1: permission denied")
                         .arg(path)
                   : QStringLiteral("cannot make the journal folder %1: %2 is not a folder")
                         .arg(path, problem.detail);
    case Kind::CannotRead:
        return QStringLiteral("cannot read %1: %2")
            .arg(path,
                 problem.detail.isEmpty() ? QStringLiteral("permission denied") : problem.detail);
    case Kind::CannotWrite:
        return QStringLiteral("cannot write %1: %2").arg(path, problem.detail);
    case Kind::NoSuchRecord:
        return QStringLiteral("no journal record %1").arg(path) +
               (problem.detail.isEmpty() ? QString() : QStringLiteral(": ") + problem.detail);
    case Kind::Damaged:
        return QStringLiteral("%1 is damaged: %2").arg(path, problem.detail);
    }
    return path;
}

QString listLine(const JournalEntry& entry) {
    const JournalSummary& s = *entry.summary;
    return onOneLine(QStringList{entry.id, journalformat::timeText(s.time), s.program, s.port,
                                 journalformat::outcomeName(s.outcome), s.sha256.left(8), s.file,
                                 s.note}
                         .join(QStringLiteral("  "))
                         .trimmed());
}

QString listJson(const QList<JournalEntry>& entries) {
    QStringList objects;
    for (const JournalEntry& entry : entries)
        objects << QStringLiteral("  ") + jsonObject(entry);
    if (objects.isEmpty())
        return QStringLiteral("[]");
    return QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) + QStringLiteral("\n]");
}

QStringList showLines(const QString& id, const JournalRecord& record) {
    const JournalSummary& s = record.summary;
    QList<std::pair<QString, QString>> fields = {{"id", id},
                                                 {"time", journalformat::timeText(s.time)},
                                                 {"program", s.program},
                                                 {"port", s.port},
                                                 {"device", s.device},
                                                 {"file", s.file}};
    if (!s.caption.isEmpty())
        fields.append({"caption", s.caption});
    fields.append(
        {{"outcome", outcomeLine(s)},
         {"sha256", s.sha256},
         {"bytes", QString::number(s.wireBytes)},
         {"note", s.note},
         {"decimal", QString(s.decimal)},
         {"map", s.mapEncoding == MapEncoding::Windows1250
                     ? QStringLiteral("%1 bytes, as the program saves it").arg(record.map.size())
                     : QStringLiteral("%1 bytes of UTF-8: a text cannot be written in "
                                      "Windows-1250, so it is not exported")
                           .arg(record.map.size())}});
    if (const auto map = journalmap::mapOf(record)) {
        const QStringList names = {"cylinders", "limiting rpm",   "opening",
                                   "closing",   "input polarity", "output polarity"};
        const QStringList values = settings::fieldValues(map->settings);
        for (int i = 0; i < names.size(); ++i)
            fields.append({names.at(i), values.at(i)});
    }
    QStringList lines;
    for (const auto& [name, value] : std::as_const(fields))
        lines << onOneLine(name.leftJustified(17) + value).trimmed();
    return lines;
}

} // namespace zerwa::cli
