#include "link/exactscaling.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QString>

#include <ostream>
#include <random>
#include <string>

using namespace zerwa;
using exact::kSaturated;

namespace {

DecimalNumber number(const std::string& text) {
    const auto parsed = parseDecimal(QString::fromStdString(text), u'.');
    if (!parsed)
        throw std::invalid_argument("not a number: " + text);
    return *parsed;
}

struct ScaleCase {
    std::string text;
    std::uint32_t numerator;
    std::uint32_t denominator;
    std::uint64_t expected;
};

void PrintTo(const ScaleCase& c, std::ostream* out) {
    *out << c.text << " * " << c.numerator << " / " << c.denominator;
}

class ScaledFloor : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaledFloor, TruncatesTheExactProduct) {
    const ScaleCase& c = GetParam();
    EXPECT_EQ(exact::scaledFloor(number(c.text), c.numerator, c.denominator), c.expected)
        << c.text << " * " << c.numerator << " / " << c.denominator;
}

INSTANTIATE_TEST_SUITE_P(
    Products, ScaledFloor,
    ::testing::Values(
        // Whole products whose nearest double lies just below them.
        ScaleCase{"0.3072", 625, 16, 12}, ScaleCase{"0.6144", 625, 16, 24},
        ScaleCase{"1.2288", 625, 256, 3}, ScaleCase{"9.8304", 625, 256, 24},
        ScaleCase{"3072e-4", 625, 16, 12}, ScaleCase{"0.00012288e4", 625, 256, 3},
        // Ordinary truncation.
        ScaleCase{"12.3", 2, 1, 24}, ScaleCase{"63.5", 2, 1, 127}, ScaleCase{"0.5", 2, 1, 1},
        ScaleCase{"0.49999999", 2, 1, 0}, ScaleCase{"51", 1, 2, 25}, ScaleCase{"510", 1, 2, 255},
        ScaleCase{"2", 625, 16, 78}, ScaleCase{"0.2", 625, 16, 7}, ScaleCase{"1.5", 625, 16, 58},
        ScaleCase{"10", 625, 256, 24}, ScaleCase{"3", 625, 256, 7},
        ScaleCase{"999999999999.9", 2, 1, 1999999999999},
        ScaleCase{"0.0000000000000000000001", 1048576, 1, 0},
        // Zero, negative, too large.
        ScaleCase{"0", 625, 16, 0}, ScaleCase{"-0.5", 2, 1, 0}, ScaleCase{"-7", 1, 2, 0},
        ScaleCase{"1e12", 1, 1, kSaturated}, ScaleCase{"1e999999", 2, 1, kSaturated},
        ScaleCase{"1e-999999", 1048576, 1, 0}));

struct QuotientCase {
    std::uint32_t dividend;
    std::string text;
    std::uint64_t expected;
};

void PrintTo(const QuotientCase& c, std::ostream* out) {
    *out << c.dividend << " / " << c.text;
}

class QuotientFloor : public ::testing::TestWithParam<QuotientCase> {};

TEST_P(QuotientFloor, TruncatesTheExactQuotient) {
    const QuotientCase& c = GetParam();
    EXPECT_EQ(exact::quotientFloor(c.dividend, number(c.text)), c.expected)
        << c.dividend << " / " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Quotients, QuotientFloor,
    ::testing::Values(
        QuotientCase{37500000, "15000", 2500}, QuotientCase{37500000, "1000", 37500},
        QuotientCase{37500000, "600", 62500}, QuotientCase{37500000, "12000", 3125},
        QuotientCase{37500000, "1.5e4", 2500}, QuotientCase{37500000, "15000.0004", 2499},
        QuotientCase{37500000, "599.99999", 62500}, QuotientCase{37500000, "7", 5357142},
        QuotientCase{37500000, "0.1", 375000000}, QuotientCase{37500000, "0.5", 75000000},
        QuotientCase{37500000, "37500000", 1}, QuotientCase{37500000, "3.75e7", 1},
        QuotientCase{37500000, "37500000.000001", 0}, QuotientCase{37500000, "1e13", 0},
        QuotientCase{37500000, "1e999", 0}, QuotientCase{1, "0.000000000001", 1000000000000},
        QuotientCase{37500000, "0.000001", kSaturated},
        QuotientCase{37500000, "1e-999999", kSaturated}, QuotientCase{37500000, "0", kSaturated},
        QuotientCase{37500000, "-600", kSaturated}));

TEST(ExactScalingTest, LongTextsStayExact) {
    const std::string nines(20000, '9');
    EXPECT_EQ(exact::scaledFloor(number("0." + nines), 2, 1), 1u);  // 1.999...
    EXPECT_EQ(exact::scaledFloor(number("0.4" + nines), 2, 1), 0u); // 0.999...
    EXPECT_EQ(exact::scaledFloor(number("1.2288" + std::string(20000, '0')), 625, 256), 3u);
    EXPECT_EQ(exact::scaledFloor(number("1.2287" + nines), 625, 256), 2u); // just below 1.2288
    const std::string tail = std::string(20000, '0') + "1";
    EXPECT_EQ(exact::quotientFloor(37500000, number("600." + tail)), 62499u);
    EXPECT_EQ(exact::quotientFloor(37500000, number("599." + nines)), 62500u);
    EXPECT_EQ(exact::quotientFloor(37500000, number("15000." + tail)), 2499u);
}

TEST(ExactScalingTest, AVeryLongTextTakesLinearTime) {
    const std::string digits(1'000'000, '7');
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(exact::quotientFloor(37500000, number("6000." + digits)), 6249u);
    EXPECT_EQ(exact::scaledFloor(number("63." + digits), 2, 1), 127u);
    EXPECT_LT(clock.elapsed(), 5000); // a few hundredths of a second normally
}

// A reference for short texts: value = mantissa / 10^scale, in 128-bit integers.
struct Reference {
    unsigned __int128 mantissa = 0;
    unsigned __int128 scale = 1;
};

TEST(ExactScalingTest, AgreesWithIntegerArithmeticOnRandomTexts) {
    std::mt19937_64 random(20240501);
    const std::uint32_t factors[][2] = {{2, 1}, {1, 2}, {625, 256}, {625, 16}, {1, 1}, {7, 3}};
    for (int round = 0; round < 20000; ++round) {
        const int integerDigits = int(random() % 7);
        const int fractionDigits = int(random() % 13);
        std::string text;
        Reference ref;
        for (int i = 0; i < integerDigits + fractionDigits; ++i) {
            const int digit = int(random() % 10);
            if (i == integerDigits)
                text += '.';
            text += char('0' + digit);
            ref.mantissa = ref.mantissa * 10 + unsigned(digit);
            if (i >= integerDigits)
                ref.scale *= 10;
        }
        if (text.empty() || text == ".")
            continue;
        if (text.front() == '.')
            text.insert(text.begin(), '0');
        const DecimalNumber value = number(text);

        const auto& f = factors[random() % std::size(factors)];
        const unsigned __int128 product = ref.mantissa * f[0] / (ref.scale * f[1]);
        ASSERT_EQ(exact::scaledFloor(value, f[0], f[1]), std::uint64_t(product)) << text;

        const std::uint32_t dividend = 37500000;
        if (ref.mantissa == 0) {
            ASSERT_EQ(exact::quotientFloor(dividend, value), kSaturated) << text;
            continue;
        }
        const unsigned __int128 quotient = dividend * ref.scale / ref.mantissa;
        const std::uint64_t expected =
            quotient >= (unsigned __int128)(1) << 40 ? kSaturated : std::uint64_t(quotient);
        ASSERT_EQ(exact::quotientFloor(dividend, value), expected) << text;
    }
}

} // namespace
