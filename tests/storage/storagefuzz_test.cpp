// Randomized inputs for the two readers of outside files: the map file reader and the
// working file reader. Each run uses a fresh seed (printed on failure) and stops after a
// fixed time, so it stays short in every build.
#include "model/variantprofiles.h"
#include "storage/linesfile.h"
#include "storage/mapfile.h"
#include "storage/maplayout.h"
#include "storage/windows1250.h"
#include "storage/workingfile.h"
#include "support/gtestqt.h"
#include "support/testfiles.h"

#include <QTemporaryDir>

#include <chrono>
#include <random>

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

using Clock = std::chrono::steady_clock;

// Each test runs for its time, and at least this many inputs however slow the machine.
constexpr int kMinimumRuns = 200;

class Generator {
public:
    explicit Generator(unsigned seed)
        : m_rng(seed) {
        for (const test::ProgramLayout& layout : test::programLayouts()) {
            m_seeds << test::crlfFile(test::defaultMapLines(
                layout, {"4", "3500", "*", "180,5", "Lefut\xF3", "Felfut\xF3"}));
        }
        m_seeds << QByteArray("/home/kati/m\xE9r\xE9s.qmt\r\n3\r\n");
    }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    char byte() {
        // Line ends and the letters of the magic lines come often, anything else sometimes.
        static const char kFavourites[] = "\r\n\r\nqmt8460_ \xF3\xEF\xBB\xBF";
        if (below(3) == 0)
            return kFavourites[below(sizeof kFavourites - 1)];
        return char(below(256));
    }

    QByteArray randomBytes(int maxLength) {
        QByteArray bytes;
        const int length = below(maxLength + 1);
        for (int i = 0; i < length; ++i)
            bytes += byte();
        return bytes;
    }

    QByteArray mutated(QByteArray bytes) {
        const int rounds = 1 + below(8);
        for (int i = 0; i < rounds; ++i) {
            const int at = below(int(bytes.size()) + 1);
            switch (below(6)) {
            case 0:
                if (at < bytes.size())
                    bytes[at] = byte();
                break;
            case 1:
                bytes.insert(at, byte());
                break;
            case 2:
                bytes.remove(at, below(64));
                break;
            case 3:
                bytes.insert(at, bytes.mid(below(int(bytes.size()) + 1), below(200)));
                break;
            case 4:
                bytes.insert(at, below(2) ? "\r" : "\n");
                break;
            default:
                bytes.truncate(at);
                break;
            }
        }
        return bytes;
    }

    QByteArray next() {
        switch (below(5)) {
        case 0:
            return randomBytes(512);
        case 1:
            return QByteArray(below(2) ? "qmt8\r\n" : "qmt4_60\n") + randomBytes(4096);
        case 2: { // a line near the longest one the reader takes
            const int length = int(mapfile::maxLineLength) - 2 + below(5);
            return "qmt4\r\n" + QByteArray(length, 'x') + (below(2) ? "\r\n" : "");
        }
        default:
            return mutated(m_seeds.at(below(int(m_seeds.size()))));
        }
    }

private:
    std::mt19937 m_rng;
    QList<QByteArray> m_seeds;
};

TEST(StorageFuzz, MapFileReaderTakesAnyBytes) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    Generator generate(seed);
    QTemporaryDir dir;
    const QString path = dir.filePath("fuzz.qmt");
    const auto deadline = Clock::now() + std::chrono::milliseconds(1000);
    int runs = 0;
    while (runs < kMinimumRuns || Clock::now() < deadline) {
        const QByteArray input = generate.next();
        for (const VariantProfile* profile : profiles::all()) {
            const auto content = mapfile::decode(*profile, input);
            if (!content)
                continue;
            ASSERT_EQ(content->table.columns(), profile->gridColumns());
            ASSERT_EQ(content->table.rows(), profile->gridRows());
            // Whatever the reader accepts, the writer stores and the reader gets back.
            const auto written = mapfile::encode(*profile, *content);
            ASSERT_TRUE(written) << input.toHex().toStdString();
            ASSERT_EQ(mapfile::decode(*profile, *written), content);
        }
        if (runs % 16 == 0) {
            test::writeBytes(path, input);
            const VariantProfile& profile = *profiles::all().at(runs / 16 % 3);
            const auto fromFile = mapfile::read(profile, path, path);
            ASSERT_EQ(fromFile.content, mapfile::decode(profile, input));
            ASSERT_EQ(fromFile.message.isEmpty(), bool(fromFile.content));
        }
        ++runs;
    }
    RecordProperty("runs", runs);
}

TEST(StorageFuzz, WorkingFileReaderTakesAnyBytes) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    Generator generate(seed);
    QTemporaryDir dir;
    const QString path = dir.filePath("Editv.txt");
    const auto deadline = Clock::now() + std::chrono::milliseconds(500);
    int runs = 0;
    while (runs < kMinimumRuns || Clock::now() < deadline) {
        const QByteArray input = generate.next();
        const QStringList lines = linesfile::splitLines(windows1250::decode(input));
        for (const QString& line : lines)
            ASSERT_FALSE(line.contains(u'\r') || line.contains(u'\n'));
        // Written back, the lines read the same.
        const QString text = linesfile::joinLinesCrLf(lines);
        ASSERT_TRUE(windows1250::canEncode(text));
        ASSERT_EQ(linesfile::splitLines(text), lines);

        if (runs % 16 == 0) {
            test::writeBytes(path, input);
            ASSERT_EQ(linesfile::read(path), std::optional<QStringList>(lines));
            ASSERT_TRUE(workingfile::updatePortLine(path, QStringLiteral("7")));
            QStringList expected = lines;
            if (expected.size() == 1)
                expected << QStringLiteral("7");
            else if (expected.size() >= 2)
                expected[1] = QStringLiteral("7");
            ASSERT_EQ(linesfile::read(path), std::optional<QStringList>(expected));
        }
        ++runs;
    }
    RecordProperty("runs", runs);
}

} // namespace
