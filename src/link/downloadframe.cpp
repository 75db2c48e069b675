#include "link/downloadframe.h"

#include "link/downloadlimits.h"
#include "link/exactscaling.h"
#include "model/decimalnumber.h"

#include <algorithm>
#include <cstdint>

namespace zerwa {

namespace {

constexpr std::uint32_t kLimitPeriodDividend = 37'500'000; // 1.6 us steps per minute
constexpr char kConstantByte = 0x0C;
constexpr int kBlockCells = 60; // cells in block A and in block B
constexpr int kBlockAStart = 3;
constexpr int kBlockBStart = 66;
constexpr int kBlockCStart = 126;     // first index of block C (longer frames only)
constexpr int kFixedFrameBytes = 127; // frame without block C

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

std::uint64_t halfUnits(const DecimalNumber& v) {
    return exact::scaledFloor(v, 2, 1);
}
std::uint64_t angleSteps(const DecimalNumber& v) {
    return exact::scaledFloor(v, 1, 2);
}
std::uint64_t closingSteps(const DecimalNumber& v) {
    return exact::scaledFloor(v, 625, 256);
}
std::uint64_t openingSteps(const DecimalNumber& v) {
    return exact::scaledFloor(v, 625, 16);
}
std::uint64_t limitPeriod(const DecimalNumber& v) {
    return exact::quotientFloor(kLimitPeriodDividend, v);
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

// Cells go to the frame in descending order: from a last row upwards, each row from the last
// column down to column 1. Block B continues where block A stopped, so a row may be split
// between the two.
class CellWriter {
public:
    CellWriter(const VariantProfile& profile, const MapTable& table, const NumberFormat& numbers)
        : m_table(table)
        , m_numbers(numbers)
        , m_columns(profile.mapColumns)
        , m_encode(downloadlimits::cell(), halfUnits) {}

    // Writes `count` cells, from descending position `from` on (0 = `lastRow`, last column),
    // to the frame indices from `index` on.
    void write(QByteArray& frame, int lastRow, int from, int count, int index) const {
        for (int k = from; k < from + count; ++k) {
            const int row = lastRow - k / m_columns;
            const int column = m_columns - k % m_columns;
            frame[index++] = low8(m_encode(readStrict(m_table.cell(column, row), m_numbers)));
        }
    }

private:
    const MapTable& m_table;
    const NumberFormat& m_numbers;
    int m_columns;
    RangeEncoder m_encode;
};

} // namespace

QByteArray EncodeDownloadFrame(const VariantProfile& profile, const MapTable& table,
                               const SettingsBlock& settings, const NumberFormat& numbers) {
    Q_ASSERT(table.columns() == profile.gridColumns() && table.rows() == profile.gridRows());
    Q_ASSERT(profile.frameBlockRows * profile.mapColumns == 2 * kBlockCells);
    Q_ASSERT(profile.frameLength ==
             kFixedFrameBytes + (profile.rpmRows - profile.frameBlockRows) * profile.mapColumns);

    QByteArray frame(profile.frameLength, '\0');
    frame[0] = modeByte(settings);

    const bool controlMode = settings::isControlMode(settings);
    const DecimalNumber closing = readStrict(settings.closing, numbers);
    frame[1] = low8(controlMode ? RangeEncoder(downloadlimits::closingAngle(), angleSteps)(closing)
                                : RangeEncoder(downloadlimits::closingMs(), closingSteps)(closing));

    const std::uint64_t period = RangeEncoder(downloadlimits::rpm(profile),
                                              limitPeriod)(readStrict(settings.limitRpm, numbers));
    frame[2] = low8(period);

    const CellWriter cells(profile, table, numbers);
    cells.write(frame, profile.frameBlockRows, 0, kBlockCells, kBlockAStart);
    frame[63] = kConstantByte;
    frame[64] = controlMode ? '\0'
                            : low8(RangeEncoder(downloadlimits::openingMs(), openingSteps)(
                                  readStrict(settings.opening, numbers)));
    frame[65] = low8(period >> 8);
    cells.write(frame, profile.frameBlockRows, kBlockCells, kBlockCells, kBlockBStart);
    const int extraCells = (profile.rpmRows - profile.frameBlockRows) * profile.mapColumns;
    cells.write(frame, profile.rpmRows, 0, extraCells, kBlockCStart);

    const std::uint64_t cylinders =
        exact::scaledFloor(readStrict(settings.cylinders, numbers), 1, 1);
    frame[profile.frameLength - 1] = low8(cylinders * 16 + 15);
    return frame;
}

namespace downloadframe {

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
