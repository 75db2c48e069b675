// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/downloadframe.h"

#include "core/link/downloadframelayout.h"
#include "core/link/downloadlimits.h"
#include "core/link/exactscaling.h"
#include "core/model/decimalnumber.h"

#include <algorithm>
#include <cstdint>

namespace zerwa {

namespace {

using downloadframe::FrameField;
using downloadframe::Scaling;

// A value scaled into its device unit, held inside the encodings of its range ends.
using Scale = std::uint64_t (*)(const DecimalNumber&);

class RangeEncoder {
public:
    RangeEncoder(const DownloadRange& range, Scale scale)
        : m_scale(scale) {
        const std::uint64_t atLow = scale(range.lowNumber());
        const std::uint64_t atHigh = scale(range.highNumber());
        m_min = std::min(atLow, atHigh); // a quotient falls as the value rises
        m_max = std::max(atLow, atHigh);
    }
    std::uint64_t operator()(const DecimalNumber& value) const {
        return std::clamp(m_scale(value), m_min, m_max);
    }

private:
    Scale m_scale;
    std::uint64_t m_min = 0;
    std::uint64_t m_max = 0;
};

template <const Scaling& scaling> std::uint64_t scaled(const DecimalNumber& v) {
    return exact::scaledFloor(v, scaling.numerator, scaling.denominator);
}
std::uint64_t limitPeriod(const DecimalNumber& v) {
    return exact::quotientFloor(downloadframe::kLimitPeriodDividend, v);
}

// The strict conversion's reading of a text, kept as its exact decimal.
DecimalNumber readStrict(const QString& text, const NumberFormat& numbers) {
    const auto number = parseDecimal(text, numbers.decimalSeparator());
    if (!number || !toDouble(*number))
        throw ConversionError(text);
    return *number;
}

char low8(std::uint64_t value) {
    return char(value & 0xFF);
}

char modeByte(const SettingsBlock& settings) {
    int mode = 0x03;
    if (settings.inputPolarity == settings::rising)
        mode |= 0x80;
    if (settings.outputPolarity == settings::rising)
        mode |= 0x40;
    return char(mode);
}

} // namespace

QByteArray EncodeDownloadFrame(const VariantProfile& profile, const MapTable& table,
                               const SettingsBlock& settings, const NumberFormat& numbers) {
    Q_ASSERT(table.columns() == profile.gridColumns() && table.rows() == profile.gridRows());
    using Kind = FrameField::Kind;
    const bool controlMode = settings::isControlMode(settings);
    const RangeEncoder cell(downloadlimits::cell(), scaled<downloadframe::kCellScaling>);
    auto read = [&numbers](const QString& text) { return readStrict(text, numbers); };
    std::uint64_t period = 0;

    // Texts are read in frame order, so a text that is not a number stops at its own byte.
    const QList<FrameField> fields = downloadframe::layout(profile);
    QByteArray frame(fields.size(), '\0');
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const FrameField& field = fields.at(i);
        switch (field.kind) {
        case Kind::Mode:
            frame[i] = modeByte(settings);
            break;
        case Kind::Closing:
            frame[i] = low8(controlMode ? RangeEncoder(downloadlimits::closingAngle(),
                                                       scaled<downloadframe::kClosingAngleScaling>)(
                                              read(settings.closing))
                                        : RangeEncoder(downloadlimits::closingMs(),
                                                       scaled<downloadframe::kClosingMsScaling>)(
                                              read(settings.closing)));
            break;
        case Kind::LimitLow:
            period =
                RangeEncoder(downloadlimits::rpm(profile), limitPeriod)(read(settings.limitRpm));
            frame[i] = low8(period);
            break;
        case Kind::Cell:
            frame[i] = low8(cell(read(table.cell(field.cell.column, field.cell.row))));
            break;
        case Kind::Constant:
            frame[i] = downloadframe::kConstantByte;
            break;
        case Kind::Opening:
            frame[i] = controlMode ? '\0'
                                   : low8(RangeEncoder(downloadlimits::openingMs(),
                                                       scaled<downloadframe::kOpeningMsScaling>)(
                                         read(settings.opening)));
            break;
        case Kind::LimitHigh:
            frame[i] = low8(period >> 8);
            break;
        case Kind::Cylinders:
            frame[i] = low8(exact::scaledFloor(read(settings.cylinders), 1, 1) * 16 +
                            downloadframe::kCylinderNibble);
            break;
        }
    }
    return frame;
}

namespace downloadframe {

std::optional<int> cellByte(const QString& text, const NumberFormat& numbers) {
    const DownloadRange range = downloadlimits::cell();
    const auto number = parseDecimal(text, numbers.decimalSeparator());
    const auto value = number ? toDouble(*number) : std::nullopt;
    if (!value || !range.rounded().containsRounded(*value))
        return std::nullopt;
    return int(RangeEncoder(range, scaled<kCellScaling>)(*number));
}

QByteArray unit(char frameByte) {
    QByteArray bytes(kUnitSize, char(0xFF));
    bytes[0] = frameByte;
    return bytes;
}

QByteArray wireImage(const QByteArray& frame) {
    QByteArray wire;
    wire.reserve(frame.size() * kUnitSize);
    for (const char byte : frame)
        wire += unit(byte);
    return wire;
}

} // namespace downloadframe

} // namespace zerwa
