// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/framereading.h"

#include "cli/exactvalue.h"
#include "cli/hexdump.h"
#include "core/link/downloadframe.h"
#include "core/link/downloadframelayout.h"
#include "core/link/downloadlimits.h"
#include "core/link/exactscaling.h"
#include "core/model/settingsblock.h"

#include <QMap>

namespace zerwa::cli {

namespace {

using downloadframe::FrameField;
using downloadframe::Scaling;
using Kind = FrameField::Kind;

constexpr int kModeBase = 0x03;
constexpr int kInputRising = 0x80;
constexpr int kOutputRising = 0x40;
constexpr int kLimitLowIndex = 2;
constexpr int kLimitHighIndex = 65;
constexpr int kOpeningIndex = 64;

struct ByteRange {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool contains(std::uint64_t value) const { return value >= low && value <= high; }
};

// The bytes the range's values encode to.
ByteRange encodedRange(const DownloadRange& range, const Scaling& scaling) {
    return {exact::scaledFloor(range.lowNumber(), scaling.numerator, scaling.denominator),
            exact::scaledFloor(range.highNumber(), scaling.numerator, scaling.denominator)};
}

ByteRange periodRange(const VariantProfile& profile) {
    const DownloadRange rpm = downloadlimits::rpm(profile);
    return {exact::quotientFloor(downloadframe::kLimitPeriodDividend, rpm.highNumber()),
            exact::quotientFloor(downloadframe::kLimitPeriodDividend, rpm.lowNumber())};
}

int byteAt(const QByteArray& frame, int index) {
    return quint8(frame.at(index));
}

int period(const QByteArray& frame) {
    return byteAt(frame, kLimitLowIndex) | byteAt(frame, kLimitHighIndex) << 8;
}

bool controlMode(const QByteArray& frame) {
    return byteAt(frame, kOpeningIndex) == 0;
}

QString polarity(bool rising) {
    return rising ? settings::rising : settings::falling;
}

// "low <= unit < high" for the values whose scaled floor is `byte`.
QString stepRange(int byte, const Scaling& scaling, const QString& unit, QChar separator) {
    const auto n = scaling.numerator;
    const auto d = scaling.denominator;
    return exactvalue::fraction(std::uint64_t(byte) * d, n, separator) + QStringLiteral(" <= ") +
           unit + QStringLiteral(" < ") +
           exactvalue::fraction(std::uint64_t(byte + 1) * d, n, separator);
}

QString settingLine(const QString& name, int byte, const QString& meaning) {
    return name + QStringLiteral(" ") + hexByte(char(byte)) + QStringLiteral(": ") + meaning;
}

std::optional<QString> settingFault(const VariantProfile& profile, const QByteArray& frame,
                                    const FrameField& field, int index) {
    const int byte = byteAt(frame, index);
    const QString seen = hexByte(char(byte));
    switch (field.kind) {
    case Kind::Mode:
        if ((byte & ~(kInputRising | kOutputRising)) != kModeBase)
            return QStringLiteral("mode byte %1 is none of 0x03, 0x43, 0x83, 0xC3").arg(seen);
        break;
    case Kind::Closing: {
        const ByteRange range =
            controlMode(frame)
                ? encodedRange(downloadlimits::closingAngle(), downloadframe::kClosingAngleScaling)
                : encodedRange(downloadlimits::closingMs(), downloadframe::kClosingMsScaling);
        if (!range.contains(byte))
            return QStringLiteral("closing byte %1 is outside %2..%3")
                .arg(seen)
                .arg(range.low)
                .arg(range.high);
        break;
    }
    case Kind::Opening: {
        const ByteRange range =
            encodedRange(downloadlimits::openingMs(), downloadframe::kOpeningMsScaling);
        if (byte != 0 && !range.contains(byte))
            return QStringLiteral("opening byte %1 is neither 0 (control mode) nor in %2..%3")
                .arg(seen)
                .arg(range.low)
                .arg(range.high);
        break;
    }
    case Kind::LimitLow: { // the period is judged at its first byte, with both halves
        const ByteRange range = periodRange(profile);
        if (!range.contains(period(frame)))
            return QStringLiteral("limit period %1 is outside %2..%3")
                .arg(period(frame))
                .arg(range.low)
                .arg(range.high);
        break;
    }
    case Kind::Cell: {
        const ByteRange range = encodedRange(downloadlimits::cell(), downloadframe::kCellScaling);
        if (!range.contains(byte))
            return QStringLiteral("cell byte %1 (map column %2, rpm row %3) is outside %4..%5")
                .arg(seen)
                .arg(field.cell.column)
                .arg(field.cell.row)
                .arg(hexByte(char(range.low)), hexByte(char(range.high)));
        break;
    }
    case Kind::Constant:
        if (byte != downloadframe::kConstantByte)
            return QStringLiteral("constant byte %1 is not %2")
                .arg(seen, hexByte(downloadframe::kConstantByte));
        break;
    case Kind::Cylinders:
        if ((byte & 0x0F) != downloadframe::kCylinderNibble)
            return QStringLiteral("cylinder byte %1 does not end in F").arg(seen);
        if (!profile.cylinderItems.contains(QString::number(byte >> 4)))
            return QStringLiteral("cylinder byte %1 names %2 cylinders, which %3 does not offer")
                .arg(seen)
                .arg(byte >> 4)
                .arg(profile.programName);
        break;
    case Kind::LimitHigh:
        break;
    }
    return std::nullopt;
}

QStringList settingLines(const QByteArray& frame, QChar separator) {
    const int mode = byteAt(frame, 0);
    const int closing = byteAt(frame, 1);
    const int opening = byteAt(frame, kOpeningIndex);
    const int p = period(frame);
    const int cylinders = byteAt(frame, frame.size() - 1);
    const auto dividend = downloadframe::kLimitPeriodDividend;
    QStringList lines;
    lines << settingLine(QStringLiteral("mode"), mode,
                         QStringLiteral("input polarity %1, output polarity %2")
                             .arg(polarity(mode & kInputRising), polarity(mode & kOutputRising)));
    if (controlMode(frame)) {
        lines << settingLine(QStringLiteral("opening"), opening,
                             QStringLiteral("control mode (*)"));
        lines << settingLine(QStringLiteral("closing"), closing,
                             stepRange(closing, downloadframe::kClosingAngleScaling,
                                       QStringLiteral("degrees"), separator));
    } else {
        lines << settingLine(
            QStringLiteral("opening"), opening,
            stepRange(opening, downloadframe::kOpeningMsScaling, QStringLiteral("ms"), separator));
        lines << settingLine(
            QStringLiteral("closing"), closing,
            stepRange(closing, downloadframe::kClosingMsScaling, QStringLiteral("ms"), separator));
    }
    // floor(D / rpm) = P for D / (P + 1) < rpm <= D / P.
    lines << QStringLiteral("limit period 0x%1 = %2: %3 < rpm <= %4")
                 .arg(QString::number(p, 16).rightJustified(4, u'0').toUpper())
                 .arg(p)
                 .arg(exactvalue::fraction(dividend, std::uint64_t(p) + 1, separator),
                      p == 0 ? QStringLiteral("∞") : exactvalue::fraction(dividend, p, separator));
    lines << settingLine(QStringLiteral("cylinders"), cylinders, QString::number(cylinders >> 4));
    return lines;
}

} // namespace

QStringList describeFrame(const VariantProfile& profile, const QByteArray& frame, QChar separator) {
    Q_ASSERT(frame.size() == profile.frameLength);
    const QList<FrameField> fields = downloadframe::layout(profile);
    QMap<int, QMap<int, QString>> rows; // rpm row -> map column -> value
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).kind == Kind::Cell)
            rows[fields.at(i).cell.row][fields.at(i).cell.column] =
                exactvalue::fraction(byteAt(frame, i), 2, separator);
    }
    QStringList lines = settingLines(frame, separator);
    lines << QStringLiteral("cells (byte / 2), map columns 1 to %1 from left to right:")
                 .arg(profile.mapColumns);
    for (auto row = rows.cbegin(); row != rows.cend(); ++row) {
        QStringList values;
        for (const QString& value : row.value())
            values << value.rightJustified(5);
        lines << QStringLiteral("rpm row %1:").arg(row.key(), 2) + values.join(QString());
    }
    return lines;
}

std::optional<FrameFault> findFrameFault(const VariantProfile& profile, const QByteArray& frame) {
    Q_ASSERT(frame.size() == profile.frameLength);
    const QList<FrameField> fields = downloadframe::layout(profile);
    for (int i = 0; i < fields.size(); ++i) {
        if (const auto what = settingFault(profile, frame, fields.at(i), i))
            return FrameFault{i, *what};
    }
    return std::nullopt;
}

} // namespace zerwa::cli
