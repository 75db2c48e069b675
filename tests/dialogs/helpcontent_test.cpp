// The help files that ship with the programs describe each program as it is: its table, its
// ranges, its files and every message it shows.
#include "dialogs/rtf/rtfparser.h"
#include "model/variantprofiles.h"
#include "support/gtestqt.h"
#include "support/testfiles.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

const QString kHelpFolder = QStringLiteral(ZERWA_HELP_DIR);

class HelpContent : public testing::TestWithParam<const VariantProfile*> {
protected:
    const VariantProfile& profile() const { return *GetParam(); }

    QByteArray bytes() const {
        return test::readBytes(QDir(kHelpFolder).filePath(profile().helpFileName));
    }

    // The text as the reader shows it, hyphens and blanks made plain for searching.
    QString text() const {
        QString shown = rtf::Parser::parse(bytes()).plainText();
        shown.replace(QChar(0x2011), QLatin1Char('-'));
        shown.replace(QChar::Nbsp, QLatin1Char(' '));
        return shown;
    }

    // "1, 2, 3 vagy 8" from the items.
    static QString spokenList(const QStringList& items) {
        return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) +
               QStringLiteral(" vagy ") + items.last();
    }
};

TEST_P(HelpContent, IsRichTextInTheProgramsCodePage) {
    const QByteArray file = bytes();
    ASSERT_FALSE(file.isEmpty());
    EXPECT_TRUE(rtf::Parser::looksLikeRichText(file));
    EXPECT_TRUE(file.startsWith("{\\rtf1\\ansi\\ansicpg1250"));
    EXPECT_TRUE(file.endsWith("}\r\n"));
    EXPECT_EQ(file.count("\r\n"), file.count("\n")); // Windows line ends throughout
    const QString shown = text();
    EXPECT_TRUE(shown.startsWith(profile().programName + QStringLiteral(" – Súgó")));
    EXPECT_FALSE(shown.contains(QChar::ReplacementCharacter));
    EXPECT_FALSE(shown.contains(QLatin1Char('\\')));
}

TEST_P(HelpContent, DescribesTheTableOfThisProgram) {
    const QString shown = text();
    const VariantProfile& p = profile();
    EXPECT_TRUE(shown.contains(QStringLiteral("%1 fordulatszám-sorból és %2 map oszlopból")
                                   .arg(p.rpmRows)
                                   .arg(p.mapColumns)));
    EXPECT_TRUE(shown.contains(QString::number(p.defaultRpm(1)) + QLatin1Char('-')));
    EXPECT_TRUE(shown.contains(QString::number(p.defaultRpm(p.rpmRows)) + QStringLiteral("-ig")));
    EXPECT_TRUE(shown.contains(QString::number(p.defaultRpmStep) + QStringLiteral("-esével")));
    for (const QString& heading : p.defaultHeadings)
        EXPECT_TRUE(shown.contains(heading)) << heading.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("1-től %1-ig").arg(p.mapColumns)));
}

TEST_P(HelpContent, GivesTheRangesOfThisProgram) {
    const QString shown = text();
    const int otherCeiling = profile().rpmCeiling == 15000 ? 12000 : 15000;
    EXPECT_TRUE(shown.contains(QStringLiteral("600 - %1").arg(profile().rpmCeiling)));
    EXPECT_FALSE(shown.contains(QString::number(otherCeiling)));
    EXPECT_TRUE(
        shown.contains(QStringLiteral("Hengerek száma: ") + spokenList(profile().cylinderItems)));
    EXPECT_TRUE(shown.contains(QStringLiteral("1-től %1-ig").arg(profile().portItemCount)));
    for (const char* fact :
         {"0,5 - 63,5", "0,2 - 2,0 ms", "0,5 - 10 ms", "50 - 510 fok", "helyett 3500", "helyett 2 ",
          "helyett 10", "helyett 50", "értékből 0,5", "0,5-öt, 1-et, 2-t, 4-et vagy 8-at"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(fact))) << fact;
}

TEST_P(HelpContent, NamesTheFilesOfThisProgram) {
    const QString shown = text();
    const VariantProfile& p = profile();
    for (const QString& name :
         {p.workingFileName, p.helpFileName, p.defaultMapFileName, p.mapFileMagic})
        EXPECT_TRUE(shown.contains(name)) << name.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("~/zerwa/") + p.programName));
    // Only the programs that update a port file of their own mention it.
    EXPECT_EQ(shown.contains(QStringLiteral("Edit.txt")), p.portUpdateFileName == "Edit.txt");
    for (const VariantProfile* other : profiles::all()) {
        if (other->workingFileName != p.workingFileName) {
            EXPECT_FALSE(shown.contains(other->workingFileName + QLatin1Char(' ')));
        }
    }
}

TEST_P(HelpContent, DescribesTheDownloadOfThisProgram) {
    const QString shown = text();
    EXPECT_TRUE(shown.contains(QStringLiteral("%1 bájtot, mindegyik után két 0xFF bájtot, "
                                              "összesen %2 bájtot")
                                   .arg(profile().frameLength)
                                   .arg(profile().frameLength * 3)));
    EXPECT_TRUE(shown.contains(QStringLiteral("2400 baud, 8 adatbit, paritás nélkül, 1 stopbit")));
    EXPECT_TRUE(shown.contains(QStringLiteral("fél másodpercig break")));
}

TEST_P(HelpContent, ExplainsTheSlopeFillOnlyWhereItExists) {
    const QString shown = text();
    EXPECT_EQ(shown.contains(QStringLiteral("Függvény")), profile().hasSlopeFill);
    EXPECT_EQ(shown.contains(QStringLiteral("Emelkedés")), profile().hasSlopeFill);
}

TEST_P(HelpContent, QuotesEveryMessageOfThisProgram) {
    const QString shown = text();
    const QString ceiling = QString::number(profile().rpmCeiling);
    QStringList messages = {
        "Az érték 0,5 - 63,5 közötti szám!",
        "Az érték 600 - " + ceiling + " között lehet!",
        "       Hibás érték!\nA fordulatszám 600 - " + ceiling + " közé eshet!",
        "       Hibás érték!\nA nyitási idő 0,2 - 2,0 közé eshet!\nVagy a '*' karakter "
        "megengedett!",
        "       Hibás érték!\nA zárási szög 50 - 510 közé eshet!",
        "       Hibás érték!\nA zárási idő 0,5 - 10 közé eshet!",
        "Biztosan törölni szeretnéd a bejegyzéseket?",
        "Nem tudom megnyitni az állományt!",
        "Nem megfelelő adatállomány!",
        "A file már létezik. Felülírja?",
        "Az adatbázis elmentve!",
        "Hiba az adattáblán!\n Kérem ellenőrizze az adatokat!",
        "A letöltés befejezve!",
        "Hiba a letöltésben!  ",
        "Elmentette a változásokat?",
        "Nincs meg a Help file!",
        "nem érvényes szám.",
    };
    const QString slopeMessage =
        QStringLiteral("Hibás értéket adott meg, az emelkedés -8 -tól +8-ig, "
                       "\n a lépés 1 - 60 -ig elfogadott.");
    if (profile().hasSlopeFill)
        messages << slopeMessage;
    else
        EXPECT_FALSE(shown.contains(QStringLiteral("Hibás értéket adott meg")));
    for (const QString& message : messages)
        EXPECT_TRUE(shown.contains("„" + message) || shown.contains(message + "”"))
            << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Programs, HelpContent, testing::ValuesIn(profiles::all()),
                         [](const testing::TestParamInfo<const VariantProfile*>& info) {
                             return info.param->programName.toStdString();
                         });

} // namespace
