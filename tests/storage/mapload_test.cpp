#include "chart/chartmirror.h"
#include "mainwindow/maptablemodel.h"
#include "model/variantprofiles.h"
#include "storage/layoutrows.h"
#include "storage/linesfile.h"
#include "storage/maplayout.h"
#include "storage/windowstate.h"
#include "support/formfixture.h"
#include "support/profilerows.h"
#include "support/testfiles.h"

#include <QDir>
#include <QLineSeries>
#include <QTest>

using namespace zerwa;
using zerwa::test::FormFixture;
using zerwa::test::ProgramLayout;
using Kind = zerwa::test::ScriptedPrompter::Kind;

Q_DECLARE_METATYPE(zerwa::SettingsBlock)

namespace {

const QString kCannotOpen = QStringLiteral("Nem tudom megnyitni az állományt!\n");
const QString kWrongFile = QStringLiteral("Nem megfelelő adatállomány!");

// A map of the program that differs from the start-up table in every part: settings, corner,
// a heading, an rpm cell, data cells (one empty, one "*").
QList<QByteArray> distinctMapLines(const ProgramLayout& layout) {
    QList<QByteArray> lines =
        test::defaultMapLines(layout, {"8", "12000", "*", "180,5", "Felfut\xF3", "Lefut\xF3"});
    const int cellLine = 7; // index of line 8, cell (0, 0)
    lines[cellLine] = "sarok";
    lines[cellLine + 1] = "2.45";
    lines[cellLine + layout.columns] = "777";
    lines[cellLine + layout.columns + 1] = "12,5";
    lines[cellLine + layout.columns + 2] = "";
    lines[cellLine + 2 * layout.columns + 1] = "*";
    lines.last() = "63,5";
    return lines;
}

} // namespace

class MapLoadTest : public QObject {
    Q_OBJECT

private slots:
    void loadFillsSettingsAndTable_data() { test::addLayoutRows(); }
    void loadFillsSettingsAndTable() {
        QFETCH(int, layoutIndex);
        const ProgramLayout& layout = test::programLayouts().at(layoutIndex);
        FormFixture fixture(test::profileOf(layout));
        TForm1& form = fixture.start();
        const QString path = fixture.pathOf("térkép A.qmt");
        test::writeBytes(path, test::crlfFile(distinctMapLines(layout)));

        fixture.prompter().answerOpenFile(path);
        QTest::mouseClick(form.LoadBtn, Qt::LeftButton);

        const auto& records = fixture.prompter().records();
        // The dialog, then the chart's report of the first data cell that is not a number
        // (the empty one); the map is loaded all the same.
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).kind, Kind::OpenFile);
        QCOMPARE(records.at(1).kind, Kind::Error);
        QCOMPARE(records.at(1).text, QStringLiteral("'' nem érvényes szám."));
        QCOMPARE(records.at(0).request.filter, QStringLiteral("Map tábla (*.qmt)"));
        QCOMPARE(records.at(0).request.defaultSuffix, QStringLiteral("qmt"));
        QCOMPARE(records.at(0).request.directory, fixture.folder());
        QCOMPARE(records.at(0).request.presetName, QString());

        const MapTable& t = form.table();
        QCOMPARE(t.cell(0, 0), QStringLiteral("sarok"));
        QCOMPARE(t.cell(1, 0), QStringLiteral("2.45"));
        QCOMPARE(t.cell(2, 0), QString::fromLatin1(layout.headings.at(1)));
        QCOMPARE(t.cell(0, 1), QStringLiteral("777"));
        QCOMPARE(t.cell(1, 1), QStringLiteral("12,5"));
        QCOMPARE(t.cell(2, 1), QString());
        QCOMPARE(t.cell(1, 2), QStringLiteral("*"));
        QCOMPARE(t.cell(layout.columns - 1, layout.rows - 1), QStringLiteral("63,5"));
        QCOMPARE(form.Panel1->settings(),
                 (SettingsBlock{"8", "12000", "*", "180,5", "Felfutó", "Lefutó"}));
        QCOMPARE(form.Panel1->ComboBox3->currentIndex(), 1);
        QCOMPARE(form.Panel1->ComboBox4->currentIndex(), 1);
        QVERIFY(form.LetoltBtn->isEnabled());
        QCOMPARE(form.windowTitle(), path);
        QCOMPARE(form.currentMapFileName(), path);
    }

    void failedReadChangesNothing_data() {
        QTest::addColumn<QByteArray>("content"); // what the chosen name holds
        QTest::addColumn<bool>("nameIsMissing");
        QTest::addColumn<bool>("nameIsAFolder");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << true << false << QString();
        QTest::newRow("folder") << QByteArray() << false << true << QString();
        QTest::newRow("empty") << QByteArray() << false << false << kWrongFile;
        QTest::newRow("zerwa8 file") << QByteArray("qmt8\r\n4\r\n") << false << false << kWrongFile;
        QTest::newRow("overlong line") << QByteArray("qmt4\r\n" + QByteArray(40000, '5') + "\r\n")
                                       << false << false << kWrongFile;
    }
    void failedReadChangesNothing() {
        QFETCH(QByteArray, content);
        QFETCH(bool, nameIsMissing);
        QFETCH(bool, nameIsAFolder);
        QFETCH(QString, message);
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        // A loaded map, so that every part of the window holds something to lose.
        const QString good = fixture.pathOf("good.qmt");
        test::writeBytes(good, test::crlfFile(distinctMapLines(test::programLayouts().at(1))));
        QVERIFY(form.ReadMapFile(good));
        form.mapModel->setCellText(3, 3, QStringLiteral("edited"));
        const test::WindowState before = test::stateOf(form);
        fixture.prompter().clear();

        const QString bad = fixture.pathOf("bad.qmt");
        if (nameIsAFolder)
            QVERIFY(QDir(fixture.folder()).mkdir("bad.qmt"));
        else if (!nameIsMissing)
            test::writeBytes(bad, content);
        fixture.prompter().answerOpenFile(bad);
        form.LoadBtnClick();

        if (message.isEmpty())
            message = kCannotOpen + bad;
        QCOMPARE(fixture.prompter().messages(), QStringList({message}));
        QVERIFY(test::stateOf(form) == before);
        QVERIFY(fixture.prompter().errors().isEmpty());
    }

    void oddFilesThatAreRead_data() {
        QTest::addColumn<const VariantProfile*>("profile");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<SettingsBlock>("settings");
        QTest::addColumn<int>("cylinderIndex");
        QTest::addColumn<QString>("cell22"); // text of cell (2, 2)
        const QByteArray six = "8\r\n3500\r\n0,8\r\n5\r\nLefut\xF3\r\nFelfut\xF3\r\n";
        const SettingsBlock sixRead{"8", "3500", "0,8", "5", "Lefutó", "Felfutó"};
        QTest::newRow("six settings only")
            << &profiles::zerwa8() << "qmt8\r\n" + six << sixRead << 6 << QString();
        QTest::newRow("LF alone") << &profiles::zerwa8()
                                  << QByteArray(test::crlfFile(test::defaultMapLines(
                                                                   test::programLayouts().at(0),
                                                                   {"8", "3500"}))
                                                    .replace("\r\n", "\n"))
                                  << SettingsBlock{"8", "3500", "", "", "", ""} << 6
                                  << QStringLiteral("2");
        QTest::newRow("UTF-8 polarity words")
            << &profiles::zerwa4()
            << QByteArray("qmt4\r\n2\r\n\r\n\r\n\r\nLefut\xC3\xB3\r\n"
                          "Felfut\xC3\xB3\r\n")
            << SettingsBlock{"2", "", "", "", "", ""} << 1 << QString();
        QTest::newRow("one cylinder in zerwa4_60")
            << &profiles::zerwa4_60()
            << QByteArray("qmt4_60\r\n1\r\n3500\r\n0,8\r\n5\r\nLefut\xF3\r\nFelfut\xF3\r\n")
            << SettingsBlock{"", "3500", "0,8", "5", "Lefutó", "Felfutó"} << -1 << QString();
        QTest::newRow("one cylinder in zerwa8")
            << &profiles::zerwa8() << QByteArray("qmt8\r\n1\r\n")
            << SettingsBlock{"1", "", "", "", "", ""} << 0 << QString();
        QTest::newRow("values past the end empty, last line without line end")
            << &profiles::zerwa8() << QByteArray("qmt8\r\n4\r\n35")
            << SettingsBlock{"4", "35", "", "", "", ""} << 3 << QString();
    }
    void oddFilesThatAreRead() {
        QFETCH(const VariantProfile*, profile);
        QFETCH(QByteArray, content);
        QFETCH(SettingsBlock, settings);
        QFETCH(int, cylinderIndex);
        QFETCH(QString, cell22);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        form.Panel1->setSettings({"4", "1", "1", "1", "Lefutó", "Lefutó"});
        const QString path = fixture.pathOf("odd.qmt");
        test::writeBytes(path, content);

        QVERIFY(form.ReadMapFile(path));
        QVERIFY(fixture.prompter().records().isEmpty());
        QCOMPARE(form.Panel1->settings(), settings);
        QCOMPARE(form.Panel1->ComboBox1->currentIndex(), cylinderIndex);
        QCOMPARE(form.Panel1->ComboBox3->currentIndex() == -1, settings.inputPolarity.isEmpty());
        QCOMPARE(form.Panel1->ComboBox4->currentIndex() == -1, settings.outputPolarity.isEmpty());
        QCOMPARE(form.table().cell(2, 2), cell22);
        QVERIFY(form.LetoltBtn->isEnabled());
        QCOMPARE(form.windowTitle(), path);
        QCOMPARE(form.currentMapFileName(), path);
    }

    void cancelledOpenDialogChangesNothing() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        const test::WindowState before = test::stateOf(form);
        fixture.prompter().answerOpenFile(std::nullopt);
        form.LoadBtnClick();
        QCOMPARE(fixture.prompter().records().size(), 1);
        QVERIFY(test::stateOf(form) == before);
    }

    // Start-up

    void startupWithoutAWorkingFileLine_data() {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("no working file") << false;
        QTest::newRow("empty working file") << true;
    }
    void startupWithoutAWorkingFileLine() {
        QFETCH(bool, fileExists);
        for (const VariantProfile* profile : profiles::all()) {
            FormFixture fixture(*profile);
            if (fileExists)
                test::writeBytes(fixture.pathOf(profile->workingFileName), "");
            TForm1& form = fixture.start();
            QVERIFY(fixture.prompter().records().isEmpty());
            QCOMPARE(form.currentMapFileName(), profile->defaultMapFileName);
            QVERIFY(!form.LetoltBtn->isEnabled());
            QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));
            QCOMPARE(form.table().cell(1, 1), QStringLiteral("1"));
        }
    }

    void startupOpensTheMapOnLine1_data() {
        QTest::addColumn<int>("layoutIndex");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<bool>("secondLine");
        QTest::addColumn<bool>("bareName");
        for (int i = 0; i < test::programLayouts().size(); ++i) {
            const char* program = test::programLayouts().at(i).program;
            QTest::addRow("%s CR LF, two lines", program)
                << i << QByteArray("\r\n") << true << false;
            QTest::addRow("%s one line", program) << i << QByteArray("\r\n") << false << false;
            QTest::addRow("%s LF", program) << i << QByteArray("\n") << true << false;
            QTest::addRow("%s CR", program) << i << QByteArray("\r") << true << false;
            QTest::addRow("%s no line end", program) << i << QByteArray() << false << false;
            QTest::addRow("%s bare name", program) << i << QByteArray("\r\n") << true << true;
        }
    }
    void startupOpensTheMapOnLine1() {
        QFETCH(int, layoutIndex);
        QFETCH(QByteArray, lineEnd);
        QFETCH(bool, secondLine);
        QFETCH(bool, bareName);
        const ProgramLayout& layout = test::programLayouts().at(layoutIndex);
        const VariantProfile& profile = test::profileOf(layout);
        FormFixture fixture(profile);
        test::writeBytes(fixture.pathOf("Mérés.qmt"), test::crlfFile(distinctMapLines(layout)));
        const QString name = bareName ? QStringLiteral("Mérés.qmt") : fixture.pathOf("Mérés.qmt");
        QByteArray working = name.toLatin1() + lineEnd; // é is the same byte in Latin-1
        if (secondLine)
            working += "2" + lineEnd;
        test::writeBytes(fixture.pathOf(profile.workingFileName), working);

        TForm1& form = fixture.start();
        // The map's empty data cell cannot be drawn: it is named once and start-up goes on.
        QCOMPARE(fixture.prompter().errors(), QStringList({"'' nem érvényes szám."}));
        QCOMPARE(fixture.prompter().records().size(), 1);
        QCOMPARE(form.currentMapFileName(), name);
        QCOMPARE(form.windowTitle(), name);
        QVERIFY(form.LetoltBtn->isEnabled());
        QCOMPARE(form.table().cell(0, 0), QStringLiteral("sarok"));
        QCOMPARE(form.table().cell(layout.columns - 1, layout.rows - 1), QStringLiteral("63,5"));
        QCOMPARE(form.Panel1->settings().inputPolarity, QStringLiteral("Felfutó"));
    }

    void startupWithADeletedMap_data() { test::addLayoutRows(); }
    void startupWithADeletedMap() {
        QFETCH(int, layoutIndex);
        const VariantProfile& profile = test::profileOf(test::programLayouts().at(layoutIndex));
        FormFixture fixture(profile);
        const QString deleted = fixture.pathOf("régi/törölt.qmt");
        QVERIFY(linesfile::write(fixture.pathOf(profile.workingFileName), {deleted, "3"}));

        TForm1& form = fixture.start();
        const QStringList shown = fixture.prompter().messages();
        QCOMPARE(shown, QStringList({kCannotOpen + deleted}));
        QCOMPARE(shown.at(0).split(u'\n').value(1), deleted);
        QCOMPARE(form.currentMapFileName(), deleted);
        QVERIFY(!form.LetoltBtn->isEnabled());
        QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(form.table().cell(0, 1), QString::number(profile.defaultRpm(1)));
        QCOMPARE(form.table().cell(1, 0), profile.defaultHeadings.at(0));

        // The first save proposes the same path.
        fixture.prompter().answerSaveFile(std::nullopt);
        form.SaveBtnClick();
        QCOMPARE(fixture.prompter().texts(Kind::SaveFile), QStringList({deleted}));
    }

    void startupWithAMapOfAnotherProgram_data() { test::addLayoutRows(); }
    void startupWithAMapOfAnotherProgram() {
        QFETCH(int, layoutIndex);
        const ProgramLayout& layout = test::programLayouts().at(layoutIndex);
        const ProgramLayout& other = test::programLayouts().at((layoutIndex + 1) % 3);
        const VariantProfile& profile = test::profileOf(layout);
        FormFixture fixture(profile);
        const QString foreign = fixture.pathOf("masik.qmt");
        test::writeBytes(foreign, test::crlfFile(distinctMapLines(other)));
        QVERIFY(linesfile::write(fixture.pathOf(profile.workingFileName), {foreign, "1"}));

        TForm1& form = fixture.start();
        QCOMPARE(fixture.prompter().messages(), QStringList({kWrongFile}));
        QCOMPARE(form.currentMapFileName(), foreign);
        QVERIFY(!form.LetoltBtn->isEnabled());
        QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(form.table().cell(0, 0), QString());
        QCOMPARE(form.Panel1->settings(), SettingsBlock());
    }

    // After a load the chart re-reads the values, then the titles; the rpm labels wait until
    // an rpm cell is next left.
    void loadRefreshesTheChartValuesThenTitles() {
        const ProgramLayout& layout = test::programLayouts().at(0);
        FormFixture fixture(test::profileOf(layout));
        TForm1& form = fixture.start();
        QList<QByteArray> lines = test::defaultMapLines(layout, {"4"});
        const int cellLine = 7;
        lines[cellLine + 3] = "4.20";                      // heading of column 3
        lines[cellLine + layout.columns] = "999";          // rpm of row 1
        lines[cellLine + 2 * layout.columns + 3] = "12,5"; // cell (3, 2)
        test::writeBytes(fixture.pathOf("ok.qmt"), test::crlfFile(lines));
        fixture.prompter().answerOpenFile(fixture.pathOf("ok.qmt"));
        form.LoadBtnClick();
        QVERIFY(fixture.prompter().errors().isEmpty());
        QCOMPARE(form.chart()->series(3)->at(1).y(), 12.5);
        QCOMPARE(form.chart()->series(3)->name(), QStringLiteral("4.20"));
        QCOMPARE(form.chart()->pointLabel(1, 0), QStringLiteral("600"));

        // A text cell stops the value refresh there; the titles are not reached.
        lines[cellLine + 3] = "5.55";
        lines[cellLine + 2 * layout.columns + 3] = "nem sz\xE1m"; // Windows-1250
        lines[cellLine + 2 * layout.columns + 4] = "40";
        test::writeBytes(fixture.pathOf("bad.qmt"), test::crlfFile(lines));
        fixture.prompter().answerOpenFile(fixture.pathOf("bad.qmt"));
        form.LoadBtnClick();
        QCOMPARE(fixture.prompter().errors(), QStringList({"'nem szám' nem érvényes szám."}));
        QCOMPARE(form.table().cell(3, 2), QStringLiteral("nem szám"));
        QCOMPARE(form.chart()->series(4)->at(1).y(), 4.0);
        QCOMPARE(form.chart()->series(3)->name(), QStringLiteral("4.20"));
    }
};

QTEST_MAIN(MapLoadTest)
#include "mapload_test.moc"
