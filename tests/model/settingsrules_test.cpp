#include "model/settingsrules.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

using namespace zerwa;
using namespace zerwa::settingsrules;

namespace {

const NumberFormat comma(u',');
const QString kRpm15000 =
    QStringLiteral("       Hibás érték!\nA fordulatszám 600 - 15000 közé eshet!");
const QString kRpm12000 =
    QStringLiteral("       Hibás érték!\nA fordulatszám 600 - 12000 közé eshet!");
const QString kOpening = QStringLiteral("       Hibás érték!\nA nyitási idő 0,2 - 2,0 közé eshet!\n"
                                        "Vagy a '*' karakter megengedett!");
const QString kAngle = QStringLiteral("       Hibás érték!\nA zárási szög 50 - 510 közé eshet!");
const QString kTime = QStringLiteral("       Hibás érték!\nA zárási idő 0,5 - 10 közé eshet!");

struct LimitCase {
    const char* text;
    int ceiling;
    bool accepted;
};

class LimitRpm : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitRpm, OutOfRangeIsReportedAndReplacedBy3500) {
    const LimitCase& c = GetParam();
    const FieldVerdict v = leaveLimitRpm(QString::fromUtf8(c.text), c.ceiling, comma);
    if (c.accepted) {
        EXPECT_TRUE(v.changesNothing()) << c.text;
    } else {
        EXPECT_EQ(v.message, c.ceiling == 15000 ? kRpm15000 : kRpm12000) << c.text;
        EXPECT_EQ(v.replacement, QStringLiteral("3500"));
        EXPECT_FALSE(v.closingReplacement);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LimitRpm,
    ::testing::Values(LimitCase{"", 15000, false}, LimitCase{"600", 15000, true},
                      LimitCase{"15000", 15000, true}, LimitCase{"15001", 15000, false},
                      LimitCase{"599", 15000, false}, LimitCase{"12000", 12000, true},
                      LimitCase{"12001", 12000, false}, LimitCase{"15000", 12000, false},
                      LimitCase{"abc", 12000, false}, LimitCase{"3500.5", 15000, false},
                      LimitCase{"-1", 15000, false},
                      // single precision: 15000,0004 rounds to 15000
                      LimitCase{"15000,0004", 15000, true}));

TEST(OpeningField, ControlModeOnlyRaisesTheClosingSilently) {
    EXPECT_EQ(leaveOpening("*", "3", comma).closingReplacement, QStringLiteral("50"));
    EXPECT_FALSE(leaveOpening("*", "3", comma).message);
    EXPECT_FALSE(leaveOpening("*", "3", comma).replacement);
    EXPECT_TRUE(leaveOpening("*", "50", comma).changesNothing());
    EXPECT_TRUE(leaveOpening("*", "600", comma).changesNothing()); // no upper bound here
    EXPECT_EQ(leaveOpening("*", "", comma).closingReplacement, QStringLiteral("50"));
}

TEST(OpeningField, TimeModeChecksTheOpeningThenBringsTheClosingIntoRange) {
    const FieldVerdict ok = leaveOpening("1,5", "180", comma);
    EXPECT_FALSE(ok.message);
    EXPECT_FALSE(ok.replacement);
    EXPECT_EQ(ok.closingReplacement, QStringLiteral("0,5"));

    const FieldVerdict bad = leaveOpening("5", "3", comma);
    EXPECT_EQ(bad.message, kOpening);
    EXPECT_EQ(bad.replacement, QStringLiteral("2"));
    EXPECT_FALSE(bad.closingReplacement);

    const FieldVerdict blank = leaveOpening(" *", "60", comma); // not the marker
    EXPECT_EQ(blank.message, kOpening);
    EXPECT_EQ(blank.replacement, QStringLiteral("2"));
    EXPECT_EQ(blank.closingReplacement, QStringLiteral("0,5"));

    EXPECT_TRUE(leaveOpening("0,2", "0,5", comma).changesNothing()); // bounds in single precision
    EXPECT_TRUE(leaveOpening("2", "10", comma).changesNothing());
    EXPECT_EQ(leaveOpening("0.5", "1", comma).message, kOpening); // a point is not a number
    EXPECT_EQ(leaveOpening("0,19", "1", comma).message, kOpening);
    EXPECT_EQ(leaveOpening("2,01", "1", comma).message, kOpening);
    EXPECT_EQ(leaveOpening("", "1", comma).replacement, QStringLiteral("2"));
}

TEST(ClosingField, RangeFollowsTheMode) {
    EXPECT_EQ(leaveClosing("*", "600", comma).message, kAngle);
    EXPECT_EQ(leaveClosing("*", "600", comma).replacement, QStringLiteral("50"));
    EXPECT_TRUE(leaveClosing("*", "510", comma).changesNothing());
    EXPECT_TRUE(leaveClosing("*", "50", comma).changesNothing());
    EXPECT_EQ(leaveClosing("*", "49", comma).replacement, QStringLiteral("50"));
    EXPECT_EQ(leaveClosing("1", "11", comma).message, kTime);
    EXPECT_EQ(leaveClosing("1", "11", comma).replacement, QStringLiteral("10"));
    EXPECT_TRUE(leaveClosing("1", "0,5", comma).changesNothing());
    EXPECT_TRUE(leaveClosing("", "10", comma).changesNothing());
    EXPECT_EQ(leaveClosing("1", "0.5", comma).message, kTime);
    EXPECT_EQ(leaveClosing(" *", "180", comma).message, kTime); // " *" is time mode
}

} // namespace
