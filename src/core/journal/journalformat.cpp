// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journalformat.h"

#include "core/journal/journalmap.h"
#include "core/link/downloadframe.h"
#include "core/model/variantprofiles.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace zerwa::journalformat {

namespace {

constexpr QByteArrayView kMagic = "zerwa-journal-record 1";
constexpr qsizetype kHashDigits = 64;

struct OutcomeName {
    JournalOutcome outcome;
    QLatin1StringView name;
};
constexpr OutcomeName kOutcomes[] = {
    {JournalOutcome::Delivered, QLatin1StringView("delivered")},
    {JournalOutcome::CloseTimedOut, QLatin1StringView("close-timed-out")},
    {JournalOutcome::Failed, QLatin1StringView("failed")},
    {JournalOutcome::Unknown, QLatin1StringView("unknown")}};

QLatin1StringView encodingName(MapEncoding encoding) {
    return encoding == MapEncoding::Windows1250 ? QLatin1StringView("windows-1250")
                                                : QLatin1StringView("utf-8");
}

bool isHashText(QStringView text) {
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    return text.size() == kHashDigits && hex.match(text).hasMatch();
}

// Whether the wire image is whole units of the program's frame: each byte, then FF FF.
bool isWireImageOf(const VariantProfile& profile, QByteArrayView wire) {
    if (wire.size() != qsizetype(profile.frameLength) * downloadframe::kUnitSize)
        return false;
    for (qsizetype i = 0; i < wire.size(); ++i) {
        if (i % downloadframe::kUnitSize != 0 && wire.at(i) != char(0xFF))
            return false;
    }
    return true;
}

QString checkSummary(const JournalSummary& s) {
    const VariantProfile* profile = profiles::forProgramName(s.program);
    if (!profile)
        return QStringLiteral("unknown program");
    if (s.port.isEmpty())
        return QStringLiteral("no port");
    if (s.decimal != u',' && s.decimal != u'.')
        return QStringLiteral("bad decimal separator");
    if (s.units > profile->frameLength ||
        (s.outcome == JournalOutcome::Delivered && s.units != profile->frameLength))
        return QStringLiteral("bad number of units");
    if (s.outcome != JournalOutcome::Failed && !s.error.isEmpty())
        return QStringLiteral("an error text for an outcome that is not a failure");
    return QString();
}

} // namespace

QString outcomeName(JournalOutcome outcome) {
    for (const OutcomeName& entry : kOutcomes) {
        if (entry.outcome == outcome)
            return entry.name;
    }
    return QString();
}

std::optional<JournalOutcome> outcomeNamed(QStringView name) {
    for (const OutcomeName& entry : kOutcomes) {
        if (name == entry.name)
            return entry.outcome;
    }
    return std::nullopt;
}

QString timeText(const QDateTime& time) {
    const QDate date = time.date();
    const QTime clock = time.time();
    const int offset = time.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", date.year(),
                             date.month(), date.day(), clock.hour(), clock.minute(), clock.second(),
                             clock.msec(), offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

std::optional<QDateTime> parseTime(QStringView text) {
    // Exactly the form timeText() writes, field by field: 2025-03-14T11:15:02.123+01:00.
    constexpr std::pair<int, char16_t> kMarks[] = {{4, u'-'},  {7, u'-'},  {10, u'T'}, {13, u':'},
                                                   {16, u':'}, {19, u'.'}, {26, u':'}};
    if (text.size() != 29 || (text.at(23) != u'+' && text.at(23) != u'-'))
        return std::nullopt;
    for (const auto& [at, mark] : kMarks) {
        if (text.at(at) != mark)
            return std::nullopt;
    }
    bool ok = true;
    auto number = [&text, &ok](int from, int digits) {
        int value = 0;
        for (int i = from; i < from + digits; ++i) {
            ok = ok && text.at(i) >= u'0' && text.at(i) <= u'9';
            value = value * 10 + (text.at(i).unicode() - u'0');
        }
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime clock(number(11, 2), number(14, 2), number(17, 2), number(20, 3));
    const int offsetHours = number(24, 2), offsetMinutes = number(27, 2);
    const int offset = (offsetHours * 60 + offsetMinutes) * 60 * (text.at(23) == u'-' ? -1 : 1);
    // A zero offset is written "+00:00", never "-00:00".
    if (!ok || !date.isValid() || !clock.isValid() || offsetHours > 14 || offsetMinutes > 59 ||
        (offset == 0 && text.at(23) == u'-'))
        return std::nullopt;
    return QDateTime(date, clock, Qt::OffsetFromUTC, offset);
}

QDateTime now() {
    const QDateTime local = QDateTime::currentDateTime();
    return local.toOffsetFromUtc(local.offsetFromUtc());
}

QString sha256Hex(QByteArrayView bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

std::optional<QByteArrayView> LineReader::field(QByteArrayView key) {
    const qsizetype end = m_bytes.indexOf('\n', m_pos);
    if (end < 0)
        return std::nullopt;
    const QByteArrayView line = m_bytes.sliced(m_pos, end - m_pos);
    if (line.size() <= key.size() || !line.startsWith(key) || line.at(key.size()) != ' ')
        return std::nullopt;
    m_pos = end + 1;
    return line.sliced(key.size() + 1);
}

std::optional<QByteArrayView> LineReader::block(qsizetype size) {
    if (size < 0 || m_bytes.size() - m_pos <= size || m_bytes.at(m_pos + size) != '\n')
        return std::nullopt;
    const QByteArrayView bytes = m_bytes.sliced(m_pos, size);
    m_pos += size + 1;
    return bytes;
}

QByteArray escapedText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('\\', "\\\\").replace('\n', "\\n").replace('\r', "\\r");
    return bytes;
}

void appendField(QByteArray& out, QByteArrayView key, const QString& value) {
    out += key;
    out += ' ';
    out += escapedText(value);
    out += '\n';
}

std::optional<QString> textValue(QByteArrayView raw) {
    QByteArray bytes;
    bytes.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        char c = raw.at(i);
        if (c == '\\') {
            if (++i == raw.size())
                return std::nullopt;
            c = raw.at(i) == 'n' ? '\n' : raw.at(i) == 'r' ? '\r' : raw.at(i);
            if (c != '\n' && c != '\r' && c != '\\')
                return std::nullopt;
        } else if (c == '\r') {
            return std::nullopt;
        }
        bytes += c;
    }
    // Bytes that are not UTF-8 come back changed (as U+FFFD).
    QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        return std::nullopt;
    return text;
}

std::optional<qsizetype> numberValue(QByteArrayView raw, qsizetype maximum) {
    if (raw.isEmpty() || raw.size() > 12 || (raw.size() > 1 && raw.front() == '0'))
        return std::nullopt;
    qsizetype value = 0;
    for (const char c : raw) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > maximum)
        return std::nullopt;
    return value;
}

void appendSummary(QByteArray& out, const JournalSummary& s) {
    appendField(out, "time", timeText(s.time));
    appendField(out, "program", s.program);
    appendField(out, "port", s.port);
    appendField(out, "device", s.device);
    appendField(out, "file", s.file);
    appendField(out, "caption", s.caption);
    appendField(out, "decimal", QString(s.decimal));
    appendField(out, "outcome", outcomeName(s.outcome));
    appendField(out, "units", QString::number(s.units));
    appendField(out, "error", s.error);
    appendField(out, "note", s.note);
    appendField(out, "sha256", s.sha256);
}

QString readSummary(LineReader& lines, JournalSummary& s) {
    QString missing;
    auto text = [&lines, &missing](const char* key) {
        std::optional<QString> value;
        if (const auto raw = lines.field(key))
            value = textValue(*raw);
        if (!value && missing.isEmpty())
            missing = QStringLiteral("no readable %1 line where it belongs").arg(key);
        return value.value_or(QString());
    };
    const auto time = parseTime(text("time"));
    s.program = text("program");
    s.port = text("port");
    s.device = text("device");
    s.file = text("file");
    s.caption = text("caption");
    const QString decimal = text("decimal");
    const auto outcome = outcomeNamed(text("outcome"));
    const auto units = numberValue(text("units").toLatin1(), 1000);
    s.error = text("error");
    s.note = text("note");
    s.sha256 = text("sha256");
    if (!missing.isEmpty())
        return missing;
    if (!time || !outcome || !units || decimal.size() != 1 || !isHashText(s.sha256))
        return QStringLiteral("a time, outcome, number of units, decimal separator or hash "
                              "that is not written as the program writes it");
    s.time = *time;
    s.decimal = decimal.at(0);
    s.outcome = *outcome;
    s.units = int(*units);
    return checkSummary(s);
}

QByteArray encode(const JournalRecord& record) {
    const JournalSummary& s = record.summary;
    QByteArray out = kMagic.toByteArray() + '\n';
    appendSummary(out, s);
    out += "map " + encodingName(s.mapEncoding).toString().toLatin1() + ' ' +
           QByteArray::number(record.map.size()) + '\n' + record.map + '\n';
    out += "wire " + QByteArray::number(record.wire.size()) + '\n' + record.wire + '\n';
    out += "check " + sha256Hex(out).toLatin1() + '\n';
    return out;
}

Decoded decode(QByteArrayView bytes) {
    auto damaged = [](const QString& why) { return Decoded{std::nullopt, why}; };
    if (bytes.size() > kMaxRecordBytes)
        return damaged(QStringLiteral("larger than any record"));
    if (!bytes.startsWith(kMagic) || bytes.size() == kMagic.size() ||
        bytes.at(kMagic.size()) != '\n')
        return damaged(QStringLiteral("not a journal record"));
    LineReader lines(bytes.sliced(kMagic.size() + 1));
    JournalRecord record;
    JournalSummary& s = record.summary;
    if (const QString why = readSummary(lines, s); !why.isEmpty())
        return damaged(why);

    const auto mapLine = lines.field("map");
    const QList<QByteArray> mapParts =
        mapLine ? mapLine->toByteArray().split(' ') : QList<QByteArray>();
    std::optional<QByteArrayView> map, wire;
    if (mapParts.size() == 2 && (mapParts.at(0) == "windows-1250" || mapParts.at(0) == "utf-8"))
        if (const auto size = numberValue(mapParts.at(1), kMaxRecordBytes))
            map = lines.block(*size);
    if (map)
        if (const auto wireLine = lines.field("wire"))
            if (const auto size = numberValue(*wireLine, kMaxRecordBytes))
                wire = lines.block(*size);
    if (!map || !wire)
        return damaged(QStringLiteral("the map or the wire image is cut off or malformed"));
    s.mapEncoding = mapParts.at(0) == "utf-8" ? MapEncoding::Utf8 : MapEncoding::Windows1250;
    const QString statedHash = s.sha256;
    record.map = map->toByteArray();
    record.setWire(wire->toByteArray());

    const qsizetype checked = kMagic.size() + 1 + lines.position();
    const auto check = lines.field("check");
    if (!check || !lines.atEnd() || *check != sha256Hex(bytes.first(checked)).toLatin1())
        return damaged(QStringLiteral("cut off, or changed after it was written (the check "
                                      "does not match)"));
    if (!isWireImageOf(*profiles::forProgramName(s.program), record.wire))
        return damaged(QStringLiteral("the wire image is not a frame of its program"));
    if (s.sha256 != statedHash)
        return damaged(QStringLiteral("the wire image does not match its sha256"));
    if (!journalmap::mapOf(record))
        return damaged(QStringLiteral("the map is not one its program writes"));
    return {std::move(record), QString()};
}

} // namespace zerwa::journalformat

namespace zerwa {

void JournalRecord::setWire(const QByteArray& bytes) {
    wire = bytes;
    summary.sha256 = journalformat::sha256Hex(bytes);
    summary.wireBytes = bytes.size();
}

} // namespace zerwa
