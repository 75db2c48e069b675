#include "link/downloadcheck.h"
#include "link/downloadframe.h"
#include "model/variantprofiles.h"
#include "samplemaps.h"
#include "support/gtestqt.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <random>

using namespace zerwa;

namespace {

// Map texts come from map files and the keyboard: any text may reach the check and the
// encoder. Neither may crash or hang, and whatever the check lets through must encode into
// the byte ranges the device takes.
class TextSource {
public:
    explicit TextSource(std::uint64_t seed)
        : m_random(seed) {}

    QString next() {
        switch (pick(6)) {
        case 0:
            return garbage(pick(12));
        case 1:
            return garbage(pick(3000));
        case 2:
            return nearEnd();
        case 3:
            return QString::number(pick(20000)) + u',' + digits(pick(30));
        case 4:
            return QStringLiteral("*");
        default:
            return QString::number(pick(70)) + u',' + digits(pick(3));
        }
    }
    int pick(int bound) { return int(m_random() % std::uint64_t(bound)); }

private:
    QString digits(int count) {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + pick(10));
        return text;
    }
    QString garbage(int length) {
        static const QString alphabet = QStringLiteral("0123456789,.eE+- *xé\t0000099999");
        QString text;
        for (int i = 0; i < length; ++i)
            text += alphabet.at(pick(int(alphabet.size())));
        return text;
    }
    // A range end, or a hair below or above it, with many digits.
    QString nearEnd() {
        static const char* const ends[][2] = {
            {"0", "5"},  {"63", "5"},  {"0", "2"},   {"2", "0"},     {"10", "0"},
            {"50", "0"}, {"510", "0"}, {"600", "0"}, {"12000", "0"}, {"15000", "0"}};
        const auto& end = ends[pick(int(std::size(ends)))];
        const QString whole = QString::fromLatin1(end[0]);
        const QString first = QString::fromLatin1(end[1]);
        switch (pick(3)) {
        case 0:
            return whole + u',' + first + digits(pick(12)); // at or above
        case 1: {                                           // just below
            const long below = whole.toLong() - (first == u'0' ? 1 : 0);
            const QChar digit = first == u'0' ? u'9' : QChar(first.at(0).unicode() - 1);
            return QString::number(below) + u',' + digit + QString(pick(15), u'9') + digits(2);
        }
        default:
            return whole + u',' + first;
        }
    }

    std::mt19937_64 m_random;
};

void expectBytesInRange(const VariantProfile& p, const SettingsBlock& s, const QByteArray& f) {
    ASSERT_EQ(f.size(), p.frameLength);
    const int mode = quint8(f.at(0));
    EXPECT_TRUE(mode == 0x03 || mode == 0x43 || mode == 0x83 || mode == 0xC3) << mode;
    const bool control = s.opening == QStringLiteral("*");
    const int closing = quint8(f.at(1));
    EXPECT_TRUE(control ? closing >= 25 && closing <= 255 : closing >= 1 && closing <= 24)
        << closing;
    const int period = quint8(f.at(2)) | quint8(f.at(65)) << 8;
    EXPECT_GE(period, 37500000 / p.rpmCeiling);
    EXPECT_LE(period, 62500);
    EXPECT_EQ(f.at(63), 0x0C);
    const int opening = quint8(f.at(64));
    EXPECT_TRUE(control ? opening == 0 : opening >= 7 && opening <= 78) << opening;
    for (int i = 3; i < p.frameLength - 1; ++i) {
        if (i >= 63 && i <= 65)
            continue;
        ASSERT_GE(quint8(f.at(i)), 1) << i;
        ASSERT_LE(quint8(f.at(i)), 127) << i;
    }
    EXPECT_EQ(quint8(f.back()) & 0x0F, 0x0F);
}

TEST(DownloadFuzzTest, RandomTextsNeverCrashAndPassingMapsEncodeInRange) {
    TextSource source(std::random_device{}());
    const NumberFormat comma(u',');
    const auto all = profiles::all();
    QElapsedTimer clock;
    clock.start();
    int rounds = 0;
    int passed = 0;
    // About a second and a half, longer (up to 8 s) on a slow build until enough maps pass.
    while ((clock.elapsed() < 1500 || passed < 200) && clock.elapsed() < 8000) {
        const VariantProfile& p = *all.at(source.pick(int(all.size())));
        test::SampleMap map = test::validSampleMap(p);
        const int changes = 1 + source.pick(3);
        for (int i = 0; i < changes; ++i) {
            const QString text = source.next();
            switch (source.pick(6)) {
            case 0:
                map.settings.limitRpm = text;
                break;
            case 1:
                map.settings.opening = text;
                break;
            case 2:
                map.settings.closing = text;
                break;
            case 3:
                map.table.setCell(0, 1 + source.pick(p.rpmRows), text);
                break;
            default:
                map.table.setCell(1 + source.pick(p.mapColumns), 1 + source.pick(p.rpmRows), text);
            }
        }
        const bool ok = ValidateForDownload(p, map.table, map.settings, comma);
        try {
            const QByteArray frame = EncodeDownloadFrame(p, map.table, map.settings, comma);
            expectBytesInRange(p, map.settings, frame);
        } catch (const ConversionError&) {
            ASSERT_FALSE(ok) << "a map that passed the check did not encode";
        }
        passed += ok;
        ++rounds;
        if (::testing::Test::HasFailure())
            break;
    }
    EXPECT_GE(passed, 200); // the passing side is really exercised
    RecordProperty("rounds", rounds);
}

} // namespace
