// SPDX-License-Identifier: GPL-3.0-or-later
// Randomized inputs for the readers of outside text (map files, working files, help files,
// pasted text, journal records and the journal's index), all made by one generator. Short by
// default; ZERWA_FUZZ_RUNS sets the number of inputs per reader for a longer run, ZERWA_FUZZ_SEED
// the seed (a failure names it).
#include "core/helpfile/rtfparser.h"
#include "core/journal/journalindex.h"
#include "core/model/mapclipboard.h"
#include "core/storage/linesfile.h"
#include "core/storage/mapfile.h"
#include "core/storage/windows1250.h"
#include "core/storage/workingfile.h"
#include "core/support/gtestqt.h"
#include "core/support/samplerecord.h"

#include <QTemporaryDir>

#include <random>

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

const unsigned kSeed = qEnvironmentVariableIsSet("ZERWA_FUZZ_SEED")
                           ? unsigned(qEnvironmentVariableIntValue("ZERWA_FUZZ_SEED"))
                           : std::random_device{}();
const int kRuns = qEnvironmentVariableIsSet("ZERWA_FUZZ_RUNS")
                      ? qEnvironmentVariableIntValue("ZERWA_FUZZ_RUNS")
                      : 400;

// Sound samples of one kind of file, cut, spliced, overwritten with random bytes and sprinkled
// with the tokens that matter to its reader.
struct InputGenerator {
    QList<QByteArray> samples;
    QList<QByteArray> tokens;
    std::mt19937_64 random{kSeed};

    int below(qsizetype n) { return int(random() % std::uint64_t(qMax<qsizetype>(n, 1))); }
    QByteArray next() {
        QByteArray input = samples.at(below(samples.size()));
        for (int round = below(12); round >= 0; --round) {
            const int at = below(input.size() + 1);
            const int kind = below(4);
            if (kind == 0)
                input.insert(at, tokens.at(below(tokens.size())));
            else if (kind == 1)
                input.remove(at, below(64));
            else if (kind == 2)
                input.insert(at, input.mid(below(input.size() + 1), below(200)));
            else
                input.insert(at, char(below(256)));
        }
        return input;
    }
};

class ReadersFuzz : public testing::Test {
    testing::ScopedTrace m_seed{__FILE__, __LINE__, "ZERWA_FUZZ_SEED=" + std::to_string(kSeed)};
};

// Whatever the map-file reader accepts starts with the program's magic line and reads back
// unchanged once written.
TEST_F(ReadersFuzz, MapFiles) {
    QList<QByteArray> samples;
    for (const test::ProgramFacts& f : test::programFacts())
        samples << f.magic.toLatin1() + "\r\n" +
                       test::crlfFile(QList<QByteArray>(f.mapFileLines - 1, "5"));
    InputGenerator generate{samples,
                            {"\r\n", "\n", "\r", "qmt4", "qmt4_60", "\xF3", "\xEF\xBB\xBF",
                             QByteArray(mapfile::maxLineLength, 'x')}};
    for (int run = 0; run < kRuns && !HasFailure(); ++run) {
        const QByteArray input = generate.next();
        for (const test::ProgramFacts& f : test::programFacts()) {
            const auto content = mapfile::decode(f.profile(), input);
            if (!content)
                continue;
            const QByteArray firstLine = input.left(input.indexOf('\n'));
            ASSERT_TRUE(firstLine == f.magic.toLatin1() || firstLine == f.magic.toLatin1() + '\r')
                << input.toHex().toStdString();
            const auto written = mapfile::encode(f.profile(), *content);
            ASSERT_TRUE(written) << input.toHex().toStdString();
            ASSERT_EQ(mapfile::decode(f.profile(), *written), content);
        }
    }
}

// The working-file reader splits any bytes into lines without line ends, and the port update
// changes line 2 only.
TEST_F(ReadersFuzz, WorkingFiles) {
    InputGenerator generate{{"/home/kati/m\xE9r\xE9s.qmt\r\n3\r\n", "C:\\a.qmt\n16\nthird\n"},
                            {"\r\n", "\n", "\r", "\xF5", QByteArray(1, '\0')}};
    QTemporaryDir dir;
    const QString path = dir.filePath("Editv.txt");
    for (int run = 0; run < kRuns && !HasFailure(); ++run) {
        const QByteArray input = generate.next();
        test::writeBytes(path, input);
        QStringList lines = linesfile::splitLines(windows1250::decode(input));
        ASSERT_EQ(linesfile::read(path), lines);
        ASSERT_FALSE(lines.join("").contains(u'\r') || lines.join("").contains(u'\n'));
        ASSERT_TRUE(workingfile::updatePortLine(path, "7"));
        if (!lines.isEmpty())
            lines.insert(1, "7");
        ASSERT_EQ(linesfile::read(path), lines.mid(0, 2) + lines.mid(3))
            << input.toHex().toStdString();
    }
}

// The help-file reader gives clean text only: no control characters, surrogates in pairs,
// sizes within bounds, never more characters and paragraphs than the bytes it read.
TEST_F(ReadersFuzz, HelpFiles) {
    InputGenerator generate{
        {"{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset238 Arial;}{\\f1\\fcharset2 Symbol;}}"
         "{\\colortbl;\\red255;}\\qc\\b\\fs36 C\\'edm\\b0\\par\\pard\\li360{\\pntext\\f1\\'b7\\tab}"
         "\\cf1 piros\\line \\u337?\\tab x{\\field{\\*\\fldinst x}{\\fldrslt y}}\\bin2 ab\\super "
         "z}"},
        {"{", "}", "\\b0", "\\par", "\\'f5", "\\'", "\\u-10179", "\\uc2", "\\bin3 ", "\\*", "\\f1",
         "\\fcharset204", "\\ansicpg932", "\\fs99999", "\\tx-5", "\\", QByteArray(1, '\0')}};
    for (int run = 0; run < kRuns && !HasFailure(); ++run) {
        const QByteArray input = generate.next();
        SCOPED_TRACE(input.toHex().toStdString());
        const rtf::Document document = rtf::Parser::parse(input);
        qsizetype characters = document.paragraphs.size();
        for (const rtf::Paragraph& paragraph : document.paragraphs) {
            for (const rtf::Run& run : paragraph.runs) {
                ASSERT_FALSE(run.text.isEmpty());
                ASSERT_TRUE(run.format.fontSizeHalfPoints >= 2 &&
                            run.format.fontSizeHalfPoints <= 3276);
                characters += run.text.size();
                for (qsizetype i = 0; i < run.text.size(); ++i) {
                    const QChar c = run.text.at(i);
                    ASSERT_TRUE(c == u'\t' || c == QChar::LineSeparator || c.unicode() >= 0x20);
                    ASSERT_FALSE(c.isLowSurrogate());
                    ASSERT_TRUE(!c.isHighSurrogate() ||
                                (++i < run.text.size() && run.text.at(i).isLowSurrogate()));
                }
            }
        }
        ASSERT_LE(characters, input.size() + 1);
    }
}

// Whatever the clipboard holds, a paste is all or nothing and puts no tab or line break into a
// cell.
TEST_F(ReadersFuzz, PastedText) {
    const VariantProfile& profile = profiles::zerwa4_60();
    const MapTable table = test::SampleMap(profile).table;
    InputGenerator generate{
        {"1,5\t2\r\n3\t\"4\"\n", "12,5", "\t0.00\n700\t5\n"},
        {"\t", "\n", "\r", "\"", ".", ",", "-", "x\xC3\xA9", QByteArray(1, '\0')}};
    for (int run = 0; run < kRuns && !HasFailure(); ++run) {
        const QString text = QString::fromUtf8(generate.next());
        const CellPos at{generate.below(5), generate.below(61)};
        const auto plan = mapclipboard::planPaste(table, text, at, generate.below(2), profile,
                                                  NumberFormat(u','));
        ASSERT_NE(plan.after.has_value(), !plan.refusal.isEmpty()) << text.toStdString();
        for (int c = 0; plan.after && c < table.cellCount(); ++c)
            ASSERT_FALSE(plan.after->cellAt(c).contains(u'\t') ||
                         plan.after->cellAt(c).contains(u'\n'))
                << text.toStdString();
    }
}

// Whatever the record reader accepts is written back byte for byte. Half of the inputs get a
// fresh check line, so that the reader's other tests are reached too. The index reader takes
// any bytes and gives entries that it reads back the same.
TEST_F(ReadersFuzz, JournalRecordsAndIndex) {
    QList<QByteArray> samples;
    journalindex::Entries entries;
    for (const test::ProgramFacts& f : test::programFacts()) {
        JournalRecord record = test::sampleRecord(f.profile());
        samples << journalformat::encode(record);
        entries.insert(f.name, {QStringLiteral("1 2.3 4"), {QString(), record.summary, {}}});
        record = test::sampleRecord(f.profile(), QStringLiteral("0,00 √"));
        record.summary.outcome = JournalOutcome::Failed;
        record.summary.error = QStringLiteral("Hiba a letöltésben!  60");
        record.summary.units = 60;
        samples << journalformat::encode(record);
        entries.insert(f.magic, {QString(), {QString(), std::nullopt, QStringLiteral("cut")}});
    }
    samples << journalindex::encode(entries);
    InputGenerator generate{samples,
                            {"\n", "\\", "\\n", "\r\n", "check ", "map utf-8 ", "wire 381\n",
                             "\xFF\xFF", "\xC3", "name ", "stamp ", "damage "}};
    for (int run = 0; run < kRuns && !HasFailure(); ++run) {
        QByteArray input = generate.next();
        if (run % 2 && input.contains("check "))
            input = input.left(input.lastIndexOf("check ")) + "check " +
                    journalformat::sha256Hex(input.left(input.lastIndexOf("check "))).toLatin1() +
                    '\n';
        const journalformat::Decoded decoded = journalformat::decode(input);
        ASSERT_NE(decoded.record.has_value(), !decoded.damage.isEmpty());
        if (decoded.record) {
            ASSERT_EQ(journalformat::encode(*decoded.record), input) << input.toHex().toStdString();
        }
        const journalindex::Entries index = journalindex::decode(input);
        ASSERT_EQ(journalindex::decode(journalindex::encode(index)).keys(), index.keys());
    }
}

} // namespace
