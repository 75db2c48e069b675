// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/mapsource.h"

#include "cli/console.h"
#include "core/model/variantprofiles.h"
#include "core/storage/mapfile.h"

#include <QFile>
#include <QFileInfo>

namespace zerwa::cli {

namespace {

constexpr qint64 kLongestMagic = 64; // far beyond any magic line

// The profile named by the file's first line, or null.
const VariantProfile* profileOfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return profileOfMagicLine(file.readLine(kLongestMagic));
}

MapLoad failure(const QString& name, const QString& message) {
    return {std::nullopt, name + QStringLiteral(": ") + oneLine(message)};
}

} // namespace

const VariantProfile* profileOfMagicLine(const QByteArray& bytes) {
    QByteArray line = bytes.left(bytes.indexOf('\n')); // all of it without a line end
    if (line.endsWith('\r'))
        line.chop(1);
    return profiles::forMagic(QString::fromLatin1(line));
}

MapLoad loadMap(const QString& name) {
    if (!QFileInfo(name).isFile()) // the reader's message names the file itself
        return {std::nullopt, oneLine(mapfile::cannotOpenMessage(name))};
    const VariantProfile* profile = profileOfFile(name);
    if (!profile)
        return failure(name, mapfile::wrongFileMessage());
    mapfile::ReadResult result = mapfile::read(*profile, name, name);
    if (!result.content)
        return failure(name, result.message);
    return {LoadedMap{name, profile, std::move(*result.content)}, QString()};
}

} // namespace zerwa::cli
