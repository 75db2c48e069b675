// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journalindex.h"

#include "core/journal/journalformat.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace zerwa::journalindex {

namespace {

constexpr QByteArrayView kMagic = "zerwa-journal-index 1\n";

} // namespace

QString stampOf(const QString& path) {
#ifdef Q_OS_WIN
    const QFileInfo entry(path);
    if (!entry.isFile() || entry.isSymLink())
        return QString();
    return QStringLiteral("%1 %2").arg(entry.size()).arg(entry.lastModified().toMSecsSinceEpoch());
#else
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return QString();
    return QStringLiteral("%1 %2.%3 %4 %5")
        .arg(qint64(status.st_size))
        .arg(qint64(status.st_mtim.tv_sec))
        .arg(qint64(status.st_mtim.tv_nsec))
        .arg(quint64(status.st_ino))
        .arg(quint64(status.st_dev));
#endif
}

QByteArray encode(const Entries& entries) {
    QByteArray out = kMagic.toByteArray();
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        journalformat::appendField(out, "name", it.key());
        journalformat::appendField(out, "stamp", it->stamp);
        const JournalEntry& entry = it->entry;
        if (entry.isDamaged()) {
            journalformat::appendField(out, "damage", entry.damage);
            continue;
        }
        journalformat::appendSummary(out, *entry.summary);
        journalformat::appendField(out, "wire", QString::number(entry.summary->wireBytes));
        journalformat::appendField(out, "utf8",
                                   entry.summary->mapEncoding == MapEncoding::Utf8
                                       ? QStringLiteral("yes")
                                       : QStringLiteral("no"));
    }
    return out;
}

Entries decode(QByteArrayView bytes) {
    if (!bytes.startsWith(kMagic))
        return {};
    journalformat::LineReader lines(bytes.sliced(kMagic.size()));
    auto text = [&lines](const char* key) -> std::optional<QString> {
        const auto raw = lines.field(key);
        return raw ? journalformat::textValue(*raw) : std::nullopt;
    };
    Entries entries;
    while (!lines.atEnd()) {
        const auto name = text("name");
        const auto stamp = text("stamp");
        if (!name || !stamp)
            return {};
        Cached cached{*stamp, {}};
        if (const auto damage = text("damage")) {
            cached.entry = {QString(), std::nullopt, *damage};
        } else {
            JournalSummary summary;
            if (!journalformat::readSummary(lines, summary).isEmpty())
                return {};
            const auto wire = lines.field("wire");
            const auto wireBytes =
                wire ? journalformat::numberValue(*wire, journalformat::kMaxRecordBytes)
                     : std::nullopt;
            const auto utf8 = text("utf8");
            if (!wireBytes || !utf8 || (*utf8 != u"yes" && *utf8 != u"no"))
                return {};
            summary.wireBytes = *wireBytes;
            summary.mapEncoding = *utf8 == u"yes" ? MapEncoding::Utf8 : MapEncoding::Windows1250;
            cached.entry = {QString(), summary, QString()};
        }
        entries.insert(*name, cached);
    }
    return entries;
}

} // namespace zerwa::journalindex
