// Captured frames and wire images as decode and listen read them: where the first fault is.
#include "cli/capture.h"
#include "cli/framereading.h"
#include "model/variantprofiles.h"
#include "support/gtestqt.h"
#include "toolrunner.h"

#include <functional>
#include <random>

#include <gtest/gtest.h>

using namespace zerwa;
using namespace zerwa::cli;

namespace {

// The first fault of a capture, or -1 when it holds a well-formed frame.
qsizetype firstFault(const QByteArray& bytes, const VariantProfile* variant) {
    const Capture capture = readCapture(bytes, variant);
    if (capture.fault)
        return capture.fault->offset;
    if (!capture.profile)
        return -2; // ambiguous
    const auto fault = findFrameFault(*capture.profile, capture.frame);
    return fault ? captureOffset(capture, fault->index) : -1;
}

struct FaultCase {
    const char* name;
    const VariantProfile* variant;
    bool wire;
    std::function<void(QByteArray&)> damage; // on the frame or the wire image
    qsizetype offset;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class CaptureFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(CaptureFaults, AreFoundAtTheirOffset) {
    const FaultCase& c = GetParam();
    const VariantProfile& p = c.variant ? *c.variant : profiles::zerwa4_60();
    const QByteArray frame = test::workedExampleFrame(p.frameLength);
    QByteArray bytes = c.wire ? test::wireOf(frame) : frame;
    c.damage(bytes);
    EXPECT_EQ(firstFault(bytes, c.variant), c.offset);
}

auto set(int offset, int value) {
    return [=](QByteArray& b) { b[offset] = char(value); };
}
auto resize(int size) {
    return [=](QByteArray& b) { b.resize(size, char(0xFF)); };
}
void none(QByteArray&) {}

const VariantProfile* const z8 = &profiles::zerwa8();
const VariantProfile* const z4 = &profiles::zerwa4();

INSTANTIATE_TEST_SUITE_P(
    Captures, CaptureFaults,
    ::testing::Values(FaultCase{"WellFormedWire", z4, true, none, -1},
                      FaultCase{"WellFormedFrame", z8, false, none, -1},
                      FaultCase{"LongFrameNeedsNoVariant", nullptr, true, none, -1},
                      FaultCase{"ShortFrameIsAmbiguous", nullptr, false, resize(127), -2},
                      FaultCase{"BrokenUnit", z4, true, set(4, 0xFE), 4},
                      FaultCase{"BrokenLastUnit", z8, true, set(380, 0x00), 380},
                      FaultCase{"WireEndsEarly", z4, true, resize(380), 380},
                      FaultCase{"WireRunsOn", z4, true, resize(384), 381},
                      FaultCase{"BreakBeforeLengthFault", z4, true,
                                [](QByteArray& b) {
                                    b.resize(300);
                                    b[7] = 0;
                                },
                                7},
                      FaultCase{"LongWireCutShort", nullptr, true, resize(600), 600},
                      FaultCase{"ModeByte", z8, true, set(0, 0x13), 0},
                      FaultCase{"ClosingOutOfRange", z4, false, set(1, 25), 1}, // 25 steps > 10 ms
                      FaultCase{"CellZero", z8, true, set(3 * 3, 0x00), 9},
                      FaultCase{"CellAbove7F", z4, false, set(70, 0x80), 70},
                      FaultCase{"ConstantByte", z4, true, set(63 * 3, 0x0D), 189},
                      FaultCase{"OpeningOutOfRange", z4, false, set(64, 79), 64},
                      FaultCase{"LimitPeriodTooShort", z4, false, set(65, 0x09),
                                2}, // 0x0935 < 2500, judged at the low byte
                      FaultCase{"CylinderLowNibble", z4, true, set(126 * 3, 0x40), 378},
                      FaultCase{"SevenCylinders", z8, false, set(126, 0x7F), 126},
                      FaultCase{"OneCylinderInZerwa4_60", nullptr, false, set(246, 0x1F), 246},
                      FaultCase{"EmptyCapture", z4, true, resize(0), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CaptureFuzz, RandomBytesGiveTheirFirstFault) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int round = 0; round < 3000; ++round) {
        const VariantProfile* p = profiles::all().at(pick(3));
        const QByteArray wire = test::wireOf(test::workedExampleFrame(p->frameLength));
        QByteArray bytes;
        if (pick(2)) {
            // One byte of a well-formed image changed: a fault, if any, is that byte's (the
            // limit period's, at frame indices 2 and 65, at its low byte).
            bytes = wire;
            const int at = pick(int(bytes.size()));
            bytes[at] = char(bytes.at(at) ^ (1 + pick(255)));
            const qsizetype offset = firstFault(bytes, p);
            if (at % 3 != 0 || offset >= 0) {
                ASSERT_EQ(offset, at == 65 * 3 ? 2 * 3 : at) << bytes.toHex().toStdString();
            }
        } else {
            const int size = pick(3) == 0 ? int(wire.size()) : pick(900);
            for (int i = 0; i < size; ++i)
                bytes += char(i % 3 && pick(4) ? 0xFF : pick(256));
            const qsizetype offset = firstFault(bytes, pick(2) ? p : nullptr);
            ASSERT_LE(offset, bytes.size());
            const Capture capture = readCapture(bytes, p);
            if (!capture.fault)
                describeFrame(*capture.profile, capture.frame, u','); // never crashes
        }
    }
}

TEST(FrameReading, SettingsAsTheRangeOfValuesThatGiveTheirByte) {
    const QByteArray frame = test::workedExampleFrame(127);
    const QString text = describeFrame(profiles::zerwa4(), frame, u',').join(u'\n');
    // 0x3A = 58 steps of 0.0256 ms, 0x07 = 7 steps of 0.4096 ms, period 3125 = 37500000 / 12000.
    EXPECT_TRUE(text.contains("opening 0x3A: 1,4848 <= ms < 1,5104")) << text.toStdString();
    EXPECT_TRUE(text.contains("closing 0x07: 2,8672 <= ms < 3,2768"));
    EXPECT_TRUE(text.contains("= 3125: 11996,16") && text.contains(" < rpm <= 12000"));
    EXPECT_TRUE(text.contains("mode 0x83: input polarity Felfutó, output polarity Lefutó"));
    EXPECT_TRUE(text.contains("cylinders 0x4F: 4"));
    QByteArray control = frame;
    control[64] = 0;
    control[1] = char(0xFF); // 510 degrees
    const QString angle = describeFrame(profiles::zerwa4(), control, u',').join(u'\n');
    EXPECT_TRUE(angle.contains("closing 0xFF: 510 <= degrees < 512")) << angle.toStdString();
}

} // namespace
