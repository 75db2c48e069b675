#include "link/closetimelimit.h"

#include <gtest/gtest.h>

using namespace zerwa;
using std::chrono::milliseconds;

namespace {

struct LimitCase {
    qint64 bytes;
    milliseconds expected;
};

class CloseTimeLimitTest : public testing::TestWithParam<LimitCase> {};

// Twice the line time at 2400 baud, 10 bits a byte, plus 2 s.
TEST_P(CloseTimeLimitTest, TwiceTheLineTimePlusTwoSeconds) {
    EXPECT_EQ(CloseTimeLimit().forBytes(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(WireImages, CloseTimeLimitTest,
                         testing::Values(LimitCase{381, milliseconds(5175)},
                                         LimitCase{741, milliseconds(8175)},
                                         LimitCase{240, milliseconds(4000)},
                                         LimitCase{0, milliseconds(2000)}));

} // namespace
