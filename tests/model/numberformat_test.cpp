#include "model/decimalnumber.h"
#include "model/numberformat.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using zerwa::ConversionError;
using zerwa::NumberFormat;

namespace {

const NumberFormat comma(u',');
const NumberFormat point(u'.');

struct ParseCase {
    const char* text;
    double onComma; // -1: not a number
    double onPoint;
};

class FallbackConversion : public ::testing::TestWithParam<ParseCase> {};

TEST_P(FallbackConversion, ReadsWithTheLocaleSeparatorOnly) {
    const ParseCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    EXPECT_DOUBLE_EQ(comma.fallback(text), c.onComma) << c.text;
    EXPECT_DOUBLE_EQ(point.fallback(text), c.onPoint) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FallbackConversion,
    ::testing::Values(ParseCase{"12,5", 12.5, -1}, ParseCase{"2.5", -1, 2.5}, ParseCase{"05", 5, 5},
                      ParseCase{"", -1, -1}, ParseCase{"-1", -1, -1}, ParseCase{" *", -1, -1},
                      ParseCase{"*", -1, -1}, ParseCase{"600", 600, 600},
                      ParseCase{"15000", 15000, 15000}, ParseCase{"0,5", 0.5, -1},
                      ParseCase{"63,5", 63.5, -1}, ParseCase{"+3", 3, 3}, ParseCase{"-3", -3, -3},
                      ParseCase{",5", 0.5, -1}, ParseCase{"5,", 5, -1}, ParseCase{" 7 ", 7, 7},
                      ParseCase{"1e3", 1000, 1000}, ParseCase{"1E-2", 0.01, 0.01},
                      ParseCase{"1,5e1", 15, -1},
                      // Group separators are not a number form here, nor are two separators.
                      ParseCase{"1 234,5", -1, -1}, ParseCase{"1\u00a0234,5", -1, -1},
                      ParseCase{"1.234,5", -1, -1}, ParseCase{"1,2,3", -1, -1},
                      // Neither are infinities, NaN, signs alone, hex or stray text.
                      ParseCase{"inf", -1, -1}, ParseCase{"NaN", -1, -1}, ParseCase{"-", -1, -1},
                      ParseCase{"+", -1, -1}, ParseCase{",", -1, -1}, ParseCase{"0x10", -1, -1},
                      ParseCase{"12a", -1, -1}, ParseCase{"1e", -1, -1}, ParseCase{"1e+", -1, -1},
                      ParseCase{"\t5", -1, -1}, ParseCase{"1e309", -1, -1},
                      ParseCase{"1e308", 1e308, 1e308}, ParseCase{"1e-400", 0, 0},
                      ParseCase{"１２", -1, -1}));

TEST(FallbackConversionTest, NeverThrowsWhateverTheText) {
    const QString longDigits(100000, u'9');
    EXPECT_DOUBLE_EQ(comma.fallback(longDigits), -1); // beyond a double
    EXPECT_DOUBLE_EQ(comma.fallback(QStringLiteral("0,") + QString(5000, u'0') + "1"), 0.0);
    EXPECT_DOUBLE_EQ(comma.fallback(QStringLiteral("1e99999999999999999999")), -1);
    EXPECT_DOUBLE_EQ(comma.fallback(QStringLiteral("1e-99999999999999999999")), 0.0);
    QString binary;
    for (int i = 0; i < 512; ++i)
        binary += QChar(char16_t(i * 131 % 0xD7FF));
    EXPECT_DOUBLE_EQ(comma.fallback(binary), -1);
    EXPECT_DOUBLE_EQ(comma.fallback(QString(QChar(0)) + "5"), -1);
}

TEST(StrictConversionTest, ReturnsTheNumberOrAnErrorNamingTheText) {
    EXPECT_DOUBLE_EQ(comma.strict(QStringLiteral("12,5")), 12.5);
    EXPECT_DOUBLE_EQ(comma.strict(QStringLiteral("-1")), -1); // a real -1, not the marker
    try {
        comma.strict(QStringLiteral("2.5"));
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.text(), QStringLiteral("2.5"));
        EXPECT_TRUE(error.message().contains(QStringLiteral("'2.5'")));
    }
    EXPECT_THROW(comma.strict(QString()), ConversionError);
    EXPECT_THROW(comma.strict(QStringLiteral("abc")), ConversionError);
    EXPECT_THROW(point.strict(QStringLiteral("1e400")), ConversionError);
}

TEST(StrictConversionTest, KeepsTheErrorMessageReadableForHugeTexts) {
    try {
        comma.strict(QString(10000, u'x'));
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_LT(error.message().size(), 120);
    }
}

TEST(NumberFormattingTest, ShortestFormWithoutGroupSeparators) {
    EXPECT_EQ(comma.format(600), QStringLiteral("600"));
    EXPECT_EQ(comma.format(0.5), QStringLiteral("0,5"));
    EXPECT_EQ(point.format(0.5), QStringLiteral("0.5"));
    EXPECT_EQ(comma.format(63.5), QStringLiteral("63,5"));
    EXPECT_EQ(comma.format(1.5), QStringLiteral("1,5"));
    EXPECT_EQ(comma.format(15000), QStringLiteral("15000"));
    EXPECT_EQ(comma.format(1234.5), QStringLiteral("1234,5"));
    EXPECT_EQ(comma.format(-2.5), QStringLiteral("-2,5"));
    EXPECT_EQ(comma.format(0), QStringLiteral("0"));
    EXPECT_EQ(comma.format(-0.0), QStringLiteral("0"));
    EXPECT_EQ(comma.format(0.1 + 0.2), QStringLiteral("0,3")); // 15 significant digits
    EXPECT_EQ(comma.format(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(comma.format(0.0001), QStringLiteral("0,0001"));
    EXPECT_EQ(comma.format(1e20), QStringLiteral("1E20"));
    EXPECT_EQ(comma.format(1.5e-7), QStringLiteral("1,5E-7"));
}

TEST(NumberFormattingTest, FormattedTextReadsBackAsTheSameNumber) {
    for (double v = -70; v <= 70; v += 0.5)
        EXPECT_DOUBLE_EQ(comma.strict(comma.format(v)), v) << v;
    for (const double v : {1.0 / 3, 2.0 / 3, 1e-3, 12.3, 9.8304})
        EXPECT_NEAR(comma.strict(comma.format(v)), v, std::abs(v) * 1e-14);
}

TEST(DecimalNumberTest, KeepsTheExactDigits) {
    const auto n = zerwa::parseDecimal(u"0,3072", u',');
    ASSERT_TRUE(n);
    EXPECT_EQ(n->digits, "3072");
    EXPECT_EQ(n->exponent, -4);
    const auto m = zerwa::parseDecimal(u"-12000,00e1", u',');
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->negative);
    EXPECT_EQ(m->digits, "12");
    EXPECT_EQ(m->exponent, 4);
    const auto zero = zerwa::parseDecimal(u"-000,000", u',');
    ASSERT_TRUE(zero);
    EXPECT_TRUE(zero->isZero());
    EXPECT_FALSE(zero->negative);
}

} // namespace
