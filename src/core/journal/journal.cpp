// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journal.h"

#include "core/journal/journalfolder.h"
#include "core/journal/journalformat.h"
#include "core/journal/journalindex.h"
#include "core/journal/syncedfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace zerwa {

namespace {

const QString kSuffix = QStringLiteral(".record");
constexpr int kNameAttempts = 100;

QString idOf(const QString& fileName) {
    return fileName.endsWith(kSuffix) && fileName.size() > kSuffix.size()
               ? fileName.chopped(kSuffix.size())
               : fileName;
}

// The file's bytes, at most one more than a record may have, or why they cannot be read.
std::optional<QByteArray> readBounded(const QString& path, QString* error) {
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.read(journalformat::kMaxRecordBytes + 1);
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

JournalEntry entryOf(const QString& path) {
    QString error;
    const auto bytes = readBounded(path, &error);
    if (!bytes)
        return {QString(), std::nullopt, error};
    journalformat::Decoded decoded = journalformat::decode(*bytes);
    if (!decoded.record)
        return {QString(), std::nullopt, decoded.damage};
    return {QString(), decoded.record->summary, QString()};
}

const QString kNotRegular = QStringLiteral("not a regular file");

void sortNewestFirst(QList<JournalEntry>& entries) {
    QList<std::pair<qint64, qsizetype>> keys; // time, place; damaged files last
    keys.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.append({entries.at(i).summary ? entries.at(i).summary->time.toMSecsSinceEpoch()
                                           : std::numeric_limits<qint64>::min(),
                     i});
    std::sort(keys.begin(), keys.end(), [&entries](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first > b.first;
        return entries.at(a.second).id > entries.at(b.second).id;
    });
    QList<JournalEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto& key : keys)
        sorted.append(std::move(entries[key.second]));
    entries = std::move(sorted);
}

bool isRecordId(const QString& id) {
    return !id.isEmpty() && !id.startsWith(u'.') && !id.contains(u'/') && !id.contains(u'\\');
}

} // namespace

Journal::Journal(QString folder)
    : m_folder(std::move(folder)) {}

QString Journal::fileNameOf(const QString& id) const {
    const QString record = id + kSuffix;
    const QFileInfo entry(QDir(m_folder).filePath(record));
    return entry.exists() || entry.isSymLink() ? record : id;
}

QString Journal::pathOf(const QString& id) const {
    return QDir(m_folder).filePath(fileNameOf(id));
}

Journal::Listing Journal::list() const {
    if (auto problem = journalfolder::checkReadable(m_folder))
        return {{}, problem};
    if (!QFileInfo::exists(m_folder))
        return {};
    const QString indexPath = QDir(m_folder).filePath(journalindex::kFileName);
    QFile indexFile(indexPath);
    const journalindex::Entries index = indexFile.open(QIODevice::ReadOnly)
                                            ? journalindex::decode(indexFile.readAll())
                                            : journalindex::Entries();
    indexFile.close();

    journalindex::Entries now;
    bool changed = false;
    QList<JournalEntry> entries;
    QDirIterator files(m_folder, QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString name = files.fileName();
        const QString stamp = journalindex::stampOf(path);
        journalindex::Cached cached{stamp, {QString(), std::nullopt, kNotRegular}};
        if (!stamp.isEmpty()) {
            const auto known = index.constFind(name);
            if (known != index.cend() && known->stamp == stamp) {
                cached = *known;
            } else {
                cached.entry = entryOf(path);
                changed = true;
            }
            now.insert(name, cached);
        }
        cached.entry.id = idOf(name);
        entries.append(std::move(cached.entry));
    }
    if (changed || now.size() != index.size()) {
        // Only a help for the next listing: a folder that cannot take it goes without.
        syncedfile::replace(m_folder, journalindex::kFileName, journalindex::encode(now), nullptr);
    }
    sortNewestFirst(entries);
    return {entries, std::nullopt};
}

Journal::Read Journal::read(const QString& id) const {
    if (auto problem = journalfolder::checkReadable(m_folder))
        return {std::nullopt, problem};
    const QString path = pathOf(id);
    const QFileInfo entry(path);
    if (!isRecordId(id) || (!entry.exists() && !entry.isSymLink()) || entry.isDir())
        return {std::nullopt, JournalProblem{JournalProblem::Kind::NoSuchRecord, path, QString()}};
    if (journalindex::stampOf(path).isEmpty())
        return {std::nullopt, JournalProblem{JournalProblem::Kind::Damaged, path, kNotRegular}};
    QString error;
    const auto bytes = readBounded(path, &error);
    if (!bytes)
        return {std::nullopt, JournalProblem{JournalProblem::Kind::CannotRead, path, error}};
    journalformat::Decoded decoded = journalformat::decode(*bytes);
    if (!decoded.record)
        return {std::nullopt, JournalProblem{JournalProblem::Kind::Damaged, path, decoded.damage}};
    return {std::move(decoded.record), std::nullopt};
}

Journal::Created Journal::create(const JournalRecord& record) const {
    if (auto problem = journalfolder::prepare(m_folder))
        return {QString(), problem};
    const QByteArray bytes = journalformat::encode(record);
    const QString stem = record.summary.time.toString(QStringLiteral("yyyyMMdd-HHmmss-"));
    QString error = QStringLiteral("no free name");
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString id = stem + QString::number(QRandomGenerator::system()->bounded(0x10000), 16)
                                      .rightJustified(4, u'0');
        const syncedfile::Result result =
            syncedfile::writeNew(m_folder, id + kSuffix, bytes, &error);
        if (result == syncedfile::Result::Written)
            return {id, std::nullopt};
        if (result == syncedfile::Result::Failed)
            break;
    }
    return {QString(), JournalProblem{JournalProblem::Kind::CannotWrite, m_folder, error}};
}

std::optional<JournalProblem> Journal::replace(const QString& id,
                                               const JournalRecord& record) const {
    if (auto problem = journalfolder::prepare(m_folder))
        return problem;
    QString error;
    if (syncedfile::replace(m_folder, id + kSuffix, journalformat::encode(record), &error) !=
        syncedfile::Result::Written)
        return JournalProblem{JournalProblem::Kind::CannotWrite, pathOf(id), error};
    return std::nullopt;
}

std::optional<JournalProblem> Journal::setNote(const QString& id, const QString& note) const {
    Read current = read(id);
    if (!current.record)
        return current.problem;
    current.record->summary.note = note;
    return replace(id, *current.record);
}

} // namespace zerwa
