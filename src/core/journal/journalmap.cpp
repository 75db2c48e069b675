// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journalmap.h"

#include "core/journal/journalformat.h"
#include "core/model/settingslists.h"
#include "core/model/variantprofiles.h"
#include "core/storage/mapfile.h"

namespace zerwa::journalmap {

namespace {

QList<QString> valuesInFileOrder(const MapFileContent& content) {
    QList<QString> values = settings::fieldValues(content.settings);
    for (int i = 0; i < content.table.cellCount(); ++i)
        values << content.table.cellAt(i);
    return values;
}

QByteArray utf8Lines(const VariantProfile& profile, const MapFileContent& content) {
    QByteArray bytes = profile.mapFileMagic.toUtf8() + "\r\n";
    for (const QString& value : valuesInFileOrder(content))
        bytes += journalformat::escapedText(value) + "\r\n";
    return bytes;
}

std::optional<MapFileContent> fromUtf8Lines(const VariantProfile& profile, QByteArrayView bytes) {
    if (!bytes.endsWith("\r\n"))
        return std::nullopt;
    QList<QByteArrayView> lines;
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype end = bytes.indexOf("\r\n", start);
        lines << bytes.sliced(start, end - start);
        start = end + 2;
    }
    if (lines.size() != mapfile::lineCount(profile) ||
        lines.constFirst() != profile.mapFileMagic.toUtf8())
        return std::nullopt;
    bool readable = true;
    auto value = [&lines, &readable](int line) {
        const std::optional<QString> text = journalformat::textValue(lines.at(line));
        readable = readable && text.has_value();
        return text.value_or(QString());
    };
    MapFileContent content{{value(1), value(2), value(3), value(4), value(5), value(6)},
                           MapTable::forProfile(profile)};
    for (int i = 0; i < content.table.cellCount(); ++i)
        content.table.setCellAt(i, value(7 + i));
    if (!readable)
        return std::nullopt;
    return content; // the caller checks that it stores back to the same bytes
}

} // namespace

StoredMap store(const VariantProfile& profile, const MapFileContent& content) {
    if (auto bytes = mapfile::encode(profile, content))
        return {std::move(*bytes), MapEncoding::Windows1250};
    return {utf8Lines(profile, content), MapEncoding::Utf8};
}

std::optional<MapFileContent> load(const VariantProfile& profile, const StoredMap& map) {
    std::optional<MapFileContent> content = map.encoding == MapEncoding::Windows1250
                                                ? mapfile::decode(profile, map.bytes)
                                                : fromUtf8Lines(profile, map.bytes);
    if (!content || content->settings != settings::normalized(content->settings, profile))
        return std::nullopt;
    const StoredMap again = store(profile, *content);
    if (again.encoding != map.encoding || again.bytes != map.bytes)
        return std::nullopt;
    return content;
}

std::optional<MapFileContent> mapOf(const JournalRecord& record) {
    const VariantProfile* profile = profiles::forProgramName(record.summary.program);
    if (!profile)
        return std::nullopt;
    return load(*profile, {record.map, record.summary.mapEncoding});
}

} // namespace zerwa::journalmap
