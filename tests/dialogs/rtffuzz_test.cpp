// Randomized and oversized inputs for the rich-text reader: whatever it is given, it must
// finish quickly, keep its memory bounded, never give more text than it read, and give only
// clean text.
#include "dialogs/rtf/rtfparser.h"

#include <QElapsedTimer>

#include <sys/resource.h>

#include <array>
#include <chrono>
#include <random>

#include <gtest/gtest.h>

using namespace zerwa::rtf;

namespace {

constexpr qint64 kTimeBudgetMs = 500;
constexpr qsizetype kHugeInputBytes = 1024 * 1024;

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The properties every result must have, whatever the input.
void checkResult(const QByteArray& input, const Document& document) {
    qsizetype characters = 0;
    qsizetype runs = 0;
    for (const Paragraph& paragraph : document.paragraphs) {
        runs += paragraph.runs.size();
        for (const Run& run : paragraph.runs) {
            ASSERT_FALSE(run.text.isEmpty());
            characters += run.text.size();
            for (qsizetype i = 0; i < run.text.size(); ++i) {
                const QChar c = run.text.at(i);
                ASSERT_TRUE(c == u'\t' || c == QChar::LineSeparator || c.unicode() >= 0x20)
                    << "control character " << int(c.unicode());
                if (c.isHighSurrogate()) {
                    ASSERT_TRUE(i + 1 < run.text.size() && run.text.at(i + 1).isLowSurrogate());
                    ++i;
                } else {
                    ASSERT_FALSE(c.isLowSurrogate());
                }
            }
            ASSERT_GE(run.format.fontSizeHalfPoints, 2);
            ASSERT_LE(run.format.fontSizeHalfPoints, 3276);
        }
    }
    // Every character and every paragraph end stands for at least one byte of input, and the
    // document stays within the size a viewer shows at once.
    ASSERT_LE(characters + document.paragraphs.size(), input.size() + 1);
    ASSERT_LE(characters, DocumentBuilder::kMaxCharacters);
    ASSERT_LE(runs, DocumentBuilder::kMaxRuns);
    ASSERT_LE(document.paragraphs.size(), DocumentBuilder::kMaxParagraphs);
}

// Pieces of rich text, sound and broken, that the random inputs are made of.
const std::array<QByteArray, 62> kPieces = {
    "{",
    "}",
    "{\\rtf1",
    "{\\rtf1\\ansi\\ansicpg1250 ",
    "\\b",
    "\\b0",
    "\\i",
    "\\ul",
    "\\ulnone",
    "\\strike",
    "\\super",
    "\\par",
    "\\line",
    "\\tab",
    "\\cell",
    "\\'f5",
    "\\'",
    "\\'z",
    "\\u337?",
    "\\u-3913 ",
    "\\u-10179",
    "\\uc2",
    "\\uc0",
    "\\uc99999",
    "\\bin",
    "\\bin3 ",
    "\\bin-1 ",
    "\\bin999 ",
    "\\*",
    "\\fonttbl",
    "\\colortbl",
    "\\red255",
    "\\green",
    ";",
    "\\f1",
    "\\f-5",
    "\\fcharset2",
    "\\fcharset204",
    "\\fcharset128",
    "\\ansicpg932",
    "\\ansicpg65001",
    "\\ansicpg1252",
    "\\ansicpg-7",
    "\\cf1",
    "\\fs99999",
    "\\qc",
    "\\pard",
    "\\plain",
    "\\li-99999999999",
    "\\pntext",
    "\\pict",
    "\\field",
    "\\fldrslt",
    "\\\\",
    "\\{",
    "\\~",
    " ",
    "text",
    "\xF5\xFB",
    "\r\n",
    "\\",
    QByteArray("\0", 1),
};

class RandomInput {
public:
    explicit RandomInput(std::uint32_t seed)
        : m_random(seed) {}

    QByteArray pieces(int count) {
        QByteArray input = "{\\rtf1 ";
        std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
        for (int i = 0; i < count; ++i)
            input += kPieces[piece(m_random)];
        return input;
    }

    QByteArray bytes(int count) {
        QByteArray input = "{\\rtf1 ";
        std::uniform_int_distribution<int> byte(0, 255);
        for (int i = 0; i < count; ++i)
            input += char(byte(m_random));
        return input;
    }

    int size(int maximum) { return std::uniform_int_distribution<int>(0, maximum)(m_random); }

private:
    std::mt19937 m_random;
};

// Runs first, while the process is still small, so that its peak memory shows.
TEST(RtfFuzz, DeepNestingNeedsLittleMemory) {
    const long before = peakResidentKilobytes();
    // Two million levels; a group state for every level would take hundreds of megabytes.
    QByteArray input = "{\\rtf1 " + QByteArray(2'000'000, '{') + "\\b\\i\\fs40 deep";
    QElapsedTimer timer;
    timer.start();
    const Document document = Parser::parse(input);
    EXPECT_LT(timer.elapsed(), 20000);
    checkResult(input, document);
    ASSERT_EQ(document.plainText(), "deep");
    EXPECT_TRUE(document.paragraphs[0].runs[0].format.bold);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(peakResidentKilobytes() - before, 64 * 1024);
#else
    (void)before;
#endif
}

TEST(RtfFuzz, RandomPiecesForAWhile) {
    QElapsedTimer timer;
    timer.start();
    std::uint32_t seed = 1;
    for (; timer.elapsed() < kTimeBudgetMs; ++seed) {
        RandomInput random(seed);
        const QByteArray input = random.pieces(random.size(400));
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        checkResult(input, Parser::parse(input));
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(seed, 100u) << "too few inputs were tried";
}

TEST(RtfFuzz, RandomBytesForAWhile) {
    QElapsedTimer timer;
    timer.start();
    std::uint32_t seed = 1;
    for (; timer.elapsed() < kTimeBudgetMs; ++seed) {
        RandomInput random(seed);
        const QByteArray input = random.bytes(random.size(2000));
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        checkResult(input, Parser::parse(input));
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(seed, 100u) << "too few inputs were tried";
}

struct HugeCase {
    const char* name;
    QByteArray unit; // repeated up to the size of the largest help file read
};

class RtfHugeInput : public testing::TestWithParam<HugeCase> {};

TEST_P(RtfHugeInput, FinishesAndStaysBounded) {
    QByteArray input = "{\\rtf1\\ansi\\ansicpg1250 ";
    while (input.size() < kHugeInputBytes)
        input += GetParam().unit;
    QElapsedTimer timer;
    timer.start();
    const Document document = Parser::parse(input);
    EXPECT_LT(timer.elapsed(), 20000);
    checkResult(input, document);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RtfHugeInput,
    testing::Values(HugeCase{"closingBraces", "}"}, HugeCase{"openingBraces", "{"},
                    HugeCase{"formatFlips", "\\b x\\b0 y\\i z\\i0 "},
                    HugeCase{"paragraphs", "\\par "}, HugeCase{"hexEscapes", "\\'f5"},
                    HugeCase{"unicode", "\\u337?"}, HugeCase{"fontTable", "{\\fonttbl{\\f1 A;}"},
                    HugeCase{"colorTable", "{\\colortbl;\\red1;"},
                    HugeCase{"skippedGroups", "{\\*\\x{\\y}}"}, HugeCase{"binaryData", "\\bin9 "},
                    HugeCase{"plainText", "Hungarian text \xF5\xFB "}),
    [](const testing::TestParamInfo<HugeCase>& info) { return std::string(info.param.name); });

} // namespace
