// Randomized inputs for the three readers of outside files: map files, working files and help
// files, all made by one generator. Short by default; ZERWA_FUZZ_RUNS sets the number of inputs
// per reader (for a longer run on demand) and ZERWA_FUZZ_SEED the seed, which a failure prints.
#include "dialogs/rtf/rtfparser.h"
#include "storage/linesfile.h"
#include "storage/mapfile.h"
#include "storage/windows1250.h"
#include "storage/workingfile.h"
#include "support/gtestqt.h"
#include "support/programtable.h"
#include "support/testfiles.h"

#include <QTemporaryDir>

#include <random>

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

int setting(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Sound samples of one kind of file, cut, spliced and sprinkled with the tokens that matter to
// its reader, or random bytes after a sample's first line.
class InputGenerator {
public:
    InputGenerator(QList<QByteArray> samples, QList<QByteArray> tokens)
        : m_random(seed())
        , m_samples(std::move(samples))
        , m_tokens(std::move(tokens)) {}

    static unsigned seed() {
        static const unsigned value =
            unsigned(setting("ZERWA_FUZZ_SEED", int(std::random_device{}())));
        return value;
    }

    QByteArray next() {
        QByteArray input = m_samples.at(below(m_samples.size()));
        if (below(4) == 0) {
            input.truncate(input.indexOf('\n') + 1);
            for (int i = below(2000); i > 0; --i)
                input += below(3) ? char(below(256)) : token().at(0);
            return input;
        }
        for (int round = below(8); round >= 0; --round) {
            const int at = below(input.size() + 1);
            switch (below(4)) {
            case 0:
                input.insert(at, token());
                break;
            case 1:
                input.remove(at, below(64));
                break;
            case 2:
                input.insert(at, input.mid(below(input.size() + 1), below(200)));
                break;
            default:
                if (at < input.size())
                    input[at] = char(below(256));
            }
        }
        return input;
    }

private:
    int below(qsizetype n) { return int(m_random() % std::uint64_t(qMax<qsizetype>(n, 1))); }
    const QByteArray& token() { return m_tokens.at(below(m_tokens.size())); }

    std::mt19937_64 m_random;
    QList<QByteArray> m_samples;
    QList<QByteArray> m_tokens;
};

const int kRuns = setting("ZERWA_FUZZ_RUNS", 400);

TEST(ReadersFuzz, MapFiles) {
    SCOPED_TRACE("ZERWA_FUZZ_SEED=" + std::to_string(InputGenerator::seed()));
    QList<QByteArray> samples;
    for (const test::ProgramFacts& f : test::programFacts()) {
        QList<QByteArray> lines = {f.magic.toLatin1(), "4", "3500", "*", "180,5", "Lefut\xF3"};
        while (lines.size() < f.mapFileLines)
            lines << QByteArray::number(lines.size());
        samples << test::crlfFile(lines);
    }
    InputGenerator generate(samples, {"\r\n", "\n", "\r", "qmt8", "qmt4", "qmt4_60", "\xF3",
                                      "\xEF\xBB\xBF", QByteArray(mapfile::maxLineLength, 'x')});
    QTemporaryDir dir;
    for (int run = 0; run < kRuns && !HasFailure(); ++run) {
        const QByteArray input = generate.next();
        for (const test::ProgramFacts& f : test::programFacts()) {
            const auto content = mapfile::decode(f.profile(), input);
            if (!content)
                continue;
            const QByteArray firstLine = input.left(input.indexOf('\n'));
            ASSERT_TRUE(firstLine == f.magic.toLatin1() || firstLine == f.magic.toLatin1() + '\r')
                << input.toHex().toStdString();
            ASSERT_EQ(content->table.columns(), f.mapColumns + 1);
            ASSERT_EQ(content->table.rows(), f.rpmRows + 1);
            // Whatever the reader accepts, the writer stores and the reader gets back.
            const auto written = mapfile::encode(f.profile(), *content);
            ASSERT_TRUE(written) << input.toHex().toStdString();
            ASSERT_EQ(mapfile::decode(f.profile(), *written), content);
        }
        if (run % 16 == 0) {
            const QString path = dir.filePath("fuzz.qmt");
            test::writeBytes(path, input);
            const auto fromFile = mapfile::read(profiles::zerwa4(), path, path);
            ASSERT_EQ(fromFile.content, mapfile::decode(profiles::zerwa4(), input));
        }
    }
}

TEST(ReadersFuzz, WorkingFiles) {
    SCOPED_TRACE("ZERWA_FUZZ_SEED=" + std::to_string(InputGenerator::seed()));
    InputGenerator generate({"/home/kati/m\xE9r\xE9s.qmt\r\n3\r\n", "C:\\a.qmt\n16\nthird\n"},
                            {"\r\n", "\n", "\r", "\xF5", "\x81", QByteArray(1, '\0')});
    QTemporaryDir dir;
    const QString path = dir.filePath("Editv.txt");
    for (int run = 0; run < kRuns && !HasFailure(); ++run) {
        const QByteArray input = generate.next();
        test::writeBytes(path, input);
        const auto lines = linesfile::read(path);
        ASSERT_TRUE(lines);
        ASSERT_EQ(*lines, linesfile::splitLines(windows1250::decode(input)));
        for (const QString& line : *lines)
            ASSERT_FALSE(line.contains(u'\r') || line.contains(u'\n'));
        ASSERT_TRUE(workingfile::updatePortLine(path, "7"));
        QStringList expected = *lines;
        if (expected.size() == 1)
            expected << "7";
        else if (expected.size() >= 2)
            expected[1] = "7";
        ASSERT_EQ(linesfile::read(path), expected) << input.toHex().toStdString();
    }
}

// Clean text only: no control characters, surrogates in pairs, sizes within bounds, and never
// more characters and paragraphs than the bytes read.
void checkDocument(const QByteArray& input, const rtf::Document& document) {
    qsizetype characters = 0;
    for (const rtf::Paragraph& paragraph : document.paragraphs) {
        for (const rtf::Run& run : paragraph.runs) {
            ASSERT_FALSE(run.text.isEmpty());
            characters += run.text.size();
            for (qsizetype i = 0; i < run.text.size(); ++i) {
                const QChar c = run.text.at(i);
                ASSERT_TRUE(c == u'\t' || c == QChar::LineSeparator || c.unicode() >= 0x20)
                    << int(c.unicode());
                if (c.isHighSurrogate())
                    ASSERT_TRUE(++i < run.text.size() && run.text.at(i).isLowSurrogate());
                else
                    ASSERT_FALSE(c.isLowSurrogate());
            }
            ASSERT_GE(run.format.fontSizeHalfPoints, 2);
            ASSERT_LE(run.format.fontSizeHalfPoints, 3276);
        }
    }
    ASSERT_LE(characters + document.paragraphs.size(), input.size() + 1);
}

TEST(ReadersFuzz, HelpFiles) {
    SCOPED_TRACE("ZERWA_FUZZ_SEED=" + std::to_string(InputGenerator::seed()));
    InputGenerator generate(
        {"{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset238 Arial;}{\\f1\\fcharset2 Symbol;}}"
         "{\\colortbl;\\red255\\green0\\blue0;}\\qc\\b\\fs36 C\\'edm\\b0\\par\\pard\\li360"
         "{\\pntext\\f1\\'b7\\tab}\\cf1 piros\\cf0\\line \\u337?\\tab x\\par"
         "{\\field{\\*\\fldinst x}{\\fldrslt y}}\\bin2 ab\\super z}\r\n"},
        {"{",
         "}",
         "\\b0",
         "\\par",
         "\\'f5",
         "\\'",
         "\\u-10179",
         "\\uc2",
         "\\bin3 ",
         "\\*",
         "\\fonttbl",
         "\\f1",
         "\\fcharset204",
         "\\ansicpg932",
         "\\cf9",
         "\\fs99999",
         "\\pard",
         "\\tx-5",
         "\\",
         "\xF5\xFB",
         QByteArray(1, '\0')});
    for (int run = 0; run < kRuns && !HasFailure(); ++run) {
        const QByteArray input = generate.next();
        SCOPED_TRACE(input.toHex().toStdString());
        checkDocument(input, rtf::Parser::parse(input));
    }
}

} // namespace
