#include "storage/windows1250.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

TEST(Windows1250, HungarianLettersHaveTheirCodePageBytes) {
    const QString text = QStringLiteral("Lefutó Felfutó őŐűŰáéíöüÁÉÍÓÖÚÜ€");
    const auto bytes = windows1250::encode(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, QByteArray("Lefut\xF3 Felfut\xF3 \xF5\xD5\xFB\xDB\xE1\xE9\xED\xF6\xFC"
                                 "\xC1\xC9\xCD\xD3\xD6\xDA\xDC\x80"));
    EXPECT_EQ(windows1250::decode(*bytes), text);
}

TEST(Windows1250, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = windows1250::decode(all);
    ASSERT_EQ(text.size(), 256);
    const auto back = windows1250::encode(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, all);
    EXPECT_EQ(text.at(0x81), QChar(0x81)); // undefined in the code page
    EXPECT_EQ(text.at(0x8A), QChar(0x0160));
    EXPECT_EQ(text.at(0xFF), QChar(0x02D9));
}

TEST(Windows1250, RefusesCharactersItCannotCarry) {
    EXPECT_FALSE(windows1250::encode(QStringLiteral("ok \u4F60")));
    EXPECT_FALSE(windows1250::canEncode(QStringLiteral("\u00F5"))); // õ is not ő
    EXPECT_TRUE(windows1250::canEncode(QStringLiteral("/home/kati/mérés/ő.qmt")));
    EXPECT_FALSE(windows1250::encode(QString::fromUtf16(u"\U0001F600")));
}

} // namespace
