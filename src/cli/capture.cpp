// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/capture.h"

#include "cli/console.h"
#include "cli/framereading.h"
#include "cli/hexdump.h"
#include "core/link/downloadframe.h"
#include "core/model/variantprofiles.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>

#include <algorithm>

namespace zerwa::cli {

namespace {

constexpr char kFill = char(0xFF);
// Far beyond the longest wire image; enough to report a wrong length without reading a huge
// file whole.
constexpr qint64 kLongestCapture = 1 << 20;

QList<const VariantProfile*> candidates(const VariantProfile* variant) {
    return variant ? QList<const VariantProfile*>{variant} : profiles::all();
}

QList<int> frameLengths(const QList<const VariantProfile*>& profiles) {
    QList<int> lengths;
    for (const VariantProfile* profile : profiles) {
        if (!lengths.contains(profile->frameLength))
            lengths << profile->frameLength;
    }
    std::sort(lengths.begin(), lengths.end());
    return lengths;
}

QString lengthsText(const QList<int>& lengths, int factor) {
    QStringList texts;
    for (const int length : lengths)
        texts << QString::number(length * factor);
    return texts.join(QStringLiteral(" or "));
}

// The first unit whose fill bytes are not FF FF, looked for up to `limit` bytes.
std::optional<CaptureFault> brokenUnit(const QByteArray& bytes, qsizetype limit) {
    const qsizetype end = std::min(bytes.size(), limit);
    for (qsizetype i = 0; i < end; ++i) {
        if (i % downloadframe::kUnitSize != 0 && bytes.at(i) != kFill)
            return CaptureFault{
                i,
                QStringLiteral("broken unit: byte %1 where FF belongs").arg(hexByte(bytes.at(i)))};
    }
    return std::nullopt;
}

// Where a wire image of the wrong length first goes wrong: it ends before the next length
// a frame may have, or runs on past the longest.
std::optional<CaptureFault> wrongLength(qsizetype size, const QList<int>& lengths) {
    const int unit = downloadframe::kUnitSize;
    for (const int length : lengths) {
        if (size == qsizetype(length) * unit)
            return std::nullopt;
    }
    const QString expected = QStringLiteral("a wire image is %1 bytes, a frame %2")
                                 .arg(lengthsText(lengths, unit), lengthsText(lengths, 1));
    for (const int length : lengths) {
        if (size < qsizetype(length) * unit)
            return CaptureFault{size, QStringLiteral("ends after %1 bytes; ").arg(size) + expected};
    }
    const qsizetype longest = qsizetype(lengths.last()) * unit;
    return CaptureFault{longest, QStringLiteral("%1 bytes, more than ").arg(size) + expected};
}

// Whether a download's bytes begin at `at` (inside the capture): the NUL bytes its break
// leaves, or the unit of a mode byte (0x83 or 0xC3, which no cell takes, or 0x03 or 0x43)
// followed by FF FF as far as the capture goes.
bool downloadStarts(const QByteArray& bytes, qsizetype at) {
    const QByteArray unit = bytes.mid(at, downloadframe::kUnitSize);
    if (unit.at(0) == '\0')
        return true;
    return (quint8(unit.at(0)) & 0x3F) == 0x03 && QByteArray(unit.size() - 1, kFill) == unit.mid(1);
}

// A capture of two downloads: a well-formed wire image of one program's length, and after it
// the next download's break or mode byte. The fault stands where the second one begins.
std::optional<CaptureFault> secondDownload(const QByteArray& bytes,
                                           const QList<const VariantProfile*>& profiles) {
    const int unit = downloadframe::kUnitSize;
    for (const VariantProfile* profile : profiles) {
        const qsizetype end = qsizetype(profile->frameLength) * unit;
        if (bytes.size() <= end || brokenUnit(bytes, end) || !downloadStarts(bytes, end))
            continue;
        QByteArray frame;
        for (qsizetype i = 0; i < end; i += unit)
            frame += bytes.at(i);
        if (!findFrameFault(*profile, frame))
            return CaptureFault{
                end, QStringLiteral("a second download begins here, after a complete wire image "
                                    "of %1 bytes; decode one download at a time (the first is "
                                    "head -c %1 of the file)")
                         .arg(end)};
    }
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> readCaptureFile(const QString& name) {
    QFile file(name);
    const bool folder = QFileInfo(name).isDir();
    QByteArray bytes;
    if (!folder && file.open(QIODevice::ReadOnly))
        bytes = file.read(kLongestCapture);
    if (folder || !file.isOpen() || file.error() != QFileDevice::NoError) {
        printError(QStringLiteral("cannot read %1: %2")
                       .arg(name, folder ? QStringLiteral("it is a folder") : file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

Capture readCapture(const QByteArray& bytes, const VariantProfile* variant) {
    const QList<const VariantProfile*> profiles = candidates(variant);
    const QList<int> lengths = frameLengths(profiles);
    Capture capture;
    if (lengths.contains(int(bytes.size()))) {
        capture.frame = bytes;
    } else {
        capture.wire = true;
        if ((capture.fault = secondDownload(bytes, profiles)))
            return capture;
        const auto length = wrongLength(bytes.size(), lengths);
        const auto broken = brokenUnit(bytes, length ? length->offset : bytes.size());
        if (broken || length) {
            capture.fault = broken ? broken : length;
            return capture;
        }
        for (qsizetype i = 0; i < bytes.size(); i += downloadframe::kUnitSize)
            capture.frame += bytes.at(i);
    }
    QStringList names;
    for (const VariantProfile* profile : profiles) {
        if (profile->frameLength == capture.frame.size()) {
            capture.profile = profile;
            names << profile->programName;
        }
    }
    if (names.size() > 1) {
        capture.profile = nullptr;
        capture.ambiguity = QStringLiteral("a frame of %1 bytes is sent by %2; name the program "
                                           "with --variant")
                                .arg(capture.frame.size())
                                .arg(names.join(QStringLiteral(" and ")));
    }
    return capture;
}

} // namespace zerwa::cli
