#include "dialogs/rtf/rtftokenizer.h"

#include "support/gtestqt.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace zerwa::rtf;

namespace {

// The tokens of the input, each written as a short readable text.
QStringList tokensOf(QByteArrayView input) {
    Tokenizer tokenizer(input);
    QStringList tokens;
    for (;;) {
        const Tokenizer::Token token = tokenizer.next();
        switch (token.kind) {
        case Tokenizer::Kind::End:
            return tokens;
        case Tokenizer::Kind::GroupStart:
            tokens << "{";
            break;
        case Tokenizer::Kind::GroupEnd:
            tokens << "}";
            break;
        case Tokenizer::Kind::ControlWord:
            tokens << "\\" + QString::fromLatin1(token.word) +
                          (token.hasParameter ? QString::number(token.parameter) : QString());
            break;
        case Tokenizer::Kind::ControlSymbol:
            tokens << "sym " + QString(QLatin1Char(token.symbol));
            break;
        case Tokenizer::Kind::HexByte:
            tokens << "hex " + QString::number(token.byte, 16);
            break;
        case Tokenizer::Kind::Text:
            tokens << "text " + QString::fromLatin1(token.text);
            break;
        }
    }
}

struct TokenCase {
    const char* name;
    QByteArray input;
    QStringList expected;
};

void PrintTo(const TokenCase& c, std::ostream* out) {
    *out << c.name;
}

class TokenizerCases : public testing::TestWithParam<TokenCase> {};

TEST_P(TokenizerCases, SplitsAsTheSyntaxSays) {
    EXPECT_EQ(tokensOf(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, TokenizerCases,
    testing::Values(TokenCase{"groupsAndText", "{a b}", {"{", "text a b", "}"}},
                    TokenCase{"wordDelimitedByBlank", "\\b x", {"\\b", "text x"}},
                    TokenCase{"onlyOneBlankBelongsToTheWord", "\\b  x", {"\\b", "text  x"}},
                    TokenCase{"wordEndsAtNonLetter", "\\par;", {"\\par", "text ;"}},
                    TokenCase{"parameter", "\\fs24 x", {"\\fs24", "text x"}},
                    TokenCase{"negativeParameter", "\\u-3913?", {"\\u-3913", "text ?"}},
                    TokenCase{"lonelyMinusIsText", "\\li-x", {"\\li", "text -x"}},
                    TokenCase{"parameterSaturates",
                              "\\fs99999999999999 \\fs-99999999999999 ",
                              {"\\fs2147483647", "\\fs-2147483648"}},
                    TokenCase{"wordTruncatedTo32Letters",
                              "\\abcdefghijklmnopqrstuvwxyzabcdefghij1 ",
                              {"\\abcdefghijklmnopqrstuvwxyzabcdef1"}},
                    TokenCase{"symbols", "\\~\\*\\\\\\{", {"sym ~", "sym *", "sym \\", "sym {"}},
                    TokenCase{"hexBytes", "\\'f5\\'FBx", {"hex f5", "hex fb", "text x"}},
                    TokenCase{"brokenHexStandsForNothing", "\\'g1\\'", {"text g1"}},
                    TokenCase{"lineEndsAreNotText", "a\r\nb\n", {"text a", "text b"}},
                    TokenCase{"binSkipsItsBytes", "\\bin3 {}\\x", {"\\bin3", "text x"}},
                    TokenCase{"binStopsAtTheEnd", "\\bin100 ab", {"\\bin100"}},
                    TokenCase{"binWithoutBlank", "\\bin2ab}", {"\\bin2", "}"}},
                    TokenCase{"trailingBackslash", "a\\", {"text a"}}));

TEST(Tokenizer, NeverReadsPastTheEnd) {
    // Every prefix of a busy input ends cleanly.
    const QByteArray input = "{\\rtf1\\ansi{\\f0 A;}\\'f5\\u-3913?\\bin4 ab}\\par x}";
    for (qsizetype length = 0; length <= input.size(); ++length) {
        const QByteArray prefix = input.left(length); // its own buffer: no bytes after it
        Tokenizer tokenizer(prefix);
        int count = 0;
        while (tokenizer.next().kind != Tokenizer::Kind::End)
            ASSERT_LT(++count, 100);
        EXPECT_TRUE(tokenizer.atEnd());
    }
}

} // namespace
