// SPDX-License-Identifier: GPL-3.0-or-later
// Captured frames and wire images as decode and listen read them: where the first fault is.
#include "cli/capture.h"
#include "cli/framereading.h"
#include "toolrunner.h"

#include <random>

using namespace zerwa;
using namespace zerwa::cli;

namespace {

// The first fault of a capture, or -1 when it holds a well-formed frame, -2 when it could be
// either program's.
qsizetype firstFault(const QByteArray& bytes, const VariantProfile* variant) {
    const Capture capture = readCapture(bytes, variant);
    if (capture.fault)
        return capture.fault->offset;
    if (!capture.profile)
        return -2;
    const auto fault = findFrameFault(*capture.profile, capture.frame);
    return fault ? captureOffset(capture, fault->index) : -1;
}

const VariantProfile* const z8 = &profiles::zerwa8();
const VariantProfile* const z4 = &profiles::zerwa4();

// The worked example's frame or wire image (zerwa4_60's when no program is named), cut or
// filled with FF to `size` unless it is -1, and with `value` at `at` unless that is -1.
struct FaultCase {
    const char* name;
    const VariantProfile* variant;
    bool wire;
    int size, at, value;
    qsizetype offset;
};

const FaultCase kFaultCases[] = {
    {"WellFormedWire", z4, true, -1, -1, 0, -1},
    {"WellFormedFrame", z8, false, -1, -1, 0, -1},
    {"LongFrameNeedsNoVariant", nullptr, true, -1, -1, 0, -1},
    {"ShortFrameIsAmbiguous", nullptr, false, 127, -1, 0, -2},
    {"BrokenUnit", z4, true, -1, 4, 0xFE, 4},
    {"BrokenLastUnit", z8, true, -1, 380, 0x00, 380},
    {"WireEndsEarly", z4, true, 380, -1, 0, 380},
    {"WireRunsOn", z4, true, 384, -1, 0, 381},
    {"BreakBeforeLengthFault", z4, true, 300, 7, 0x00, 7},
    {"LongWireCutShort", nullptr, true, 600, -1, 0, 600},
    {"EmptyCapture", z4, true, 0, -1, 0, 0},
    {"ModeByte", z8, true, -1, 0, 0x13, 0},
    {"ClosingOutOfRange", z4, false, -1, 1, 25, 1}, // 25 steps > 10 ms
    {"CellZero", z8, true, -1, 9, 0x00, 9},
    {"CellAbove7F", z4, false, -1, 70, 0x80, 70},
    {"ConstantByte", z4, true, -1, 189, 0x0D, 189},
    {"OpeningOutOfRange", z4, false, -1, 64, 79, 64},
    {"LimitPeriodTooShort", z4, false, -1, 65, 0x09, 2}, // 0x0935 < 2500, judged at the low byte
    {"CylinderLowNibble", z4, true, -1, 378, 0x40, 378},
    {"SevenCylinders", z8, false, -1, 126, 0x7F, 126},
    {"OneCylinderInZerwa4_60", nullptr, false, -1, 246, 0x1F, 246},
};

TEST(Capture, FaultsAreFoundAtTheirOffset) {
    for (const FaultCase& c : kFaultCases) {
        const VariantProfile& p = c.variant ? *c.variant : profiles::zerwa4_60();
        const QByteArray frame = test::workedExampleFrame(p.frameLength);
        QByteArray bytes = c.wire ? test::wireOf(frame) : frame;
        if (c.size >= 0)
            bytes.resize(c.size, char(0xFF));
        if (c.at >= 0)
            bytes[c.at] = char(c.value);
        EXPECT_EQ(firstFault(bytes, c.variant), c.offset) << c.name;
    }
}

// Two downloads captured in a row, with or without the NUL of the second one's break: the
// fault stands where the second begins, at the end of the first wire image.
TEST(Capture, ASecondDownloadIsFoundWhereItBegins) {
    for (const VariantProfile* p : profiles::all()) {
        const QByteArray wire = test::wireOf(test::workedExampleFrame(p->frameLength));
        for (const QByteArray& between : {QByteArray(), QByteArray(1, '\0')}) {
            for (const VariantProfile* variant : {p, (const VariantProfile*)nullptr}) {
                const Capture capture = readCapture(wire + between + wire.left(100), variant);
                ASSERT_TRUE(capture.fault) << p->programName.toStdString();
                EXPECT_EQ(capture.fault->offset, wire.size());
                EXPECT_TRUE(capture.fault->what.startsWith("a second download begins here"));
            }
        }
    }
}

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
            // limit period's, at frame indices 2 and 65, at its low byte; an opening byte of 0
            // is control mode, where the closing byte 07 at index 1 is too small an angle).
            bytes = wire;
            const int at = pick(int(bytes.size()));
            bytes[at] = char(bytes.at(at) ^ (1 + pick(255)));
            const qsizetype offset = firstFault(bytes, p);
            const int faultAt = at == 65 * 3                        ? 2 * 3
                                : at == 64 * 3 && bytes.at(at) == 0 ? 1 * 3
                                                                    : at;
            if (at % 3 != 0 || offset >= 0) {
                ASSERT_EQ(offset, faultAt) << bytes.toHex().toStdString();
            }
        } else {
            const int size = pick(3) == 0 ? int(wire.size()) : pick(900);
            for (int i = 0; i < size; ++i)
                bytes += char(i % 3 && pick(4) ? 0xFF : pick(256));
            ASSERT_LE(firstFault(bytes, pick(2) ? p : nullptr), bytes.size());
            const Capture capture = readCapture(bytes, p);
            if (!capture.fault)
                describeFrame(*capture.profile, capture.frame, u','); // never crashes
        }
    }
}

} // namespace
