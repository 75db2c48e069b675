#include "mainwindow/maptablemodel.h"
#include "model/variantprofiles.h"
#include "storage/layoutrows.h"
#include "storage/maplayout.h"
#include "storage/windowstate.h"
#include "support/filesizelimit.h"
#include "support/formfixture.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <unistd.h>

using namespace zerwa;
using zerwa::test::FormFixture;
using zerwa::test::ProgramLayout;
using Kind = zerwa::test::ScriptedPrompter::Kind;

Q_DECLARE_METATYPE(zerwa::SettingsBlock)

namespace {

const QString kSaved = QStringLiteral("Az adatbázis elmentve!");
const QString kOverwrite = QStringLiteral("A file már létezik. Felülírja?");
const QString kCannotSave = QStringLiteral("Nem tudom elmenteni az állományt!\n");

QByteArray portAtStart(const VariantProfile& profile) {
    return profile.firstPortSelectedAtStart ? "1" : "";
}

} // namespace

class MapSaveTest : public QObject {
    Q_OBJECT

private slots:
    void writtenFileFollowsTheLayout_data() {
        QTest::addColumn<int>("layoutIndex");
        QTest::addColumn<SettingsBlock>("settings");
        QTest::addColumn<QList<QByteArray>>("settingsLines");
        for (int i = 0; i < test::programLayouts().size(); ++i) {
            const char* program = test::programLayouts().at(i).program;
            QTest::addRow("%s settings empty", program)
                << i << SettingsBlock() << QList<QByteArray>{"", "", "", "", "", ""};
            QTest::addRow("%s settings set", program)
                << i << SettingsBlock{"2", "3500", "0,8", "5", "Felfutó", "Lefutó"}
                << QList<QByteArray>{"2", "3500", "0,8", "5", "Felfut\xF3", "Lefut\xF3"};
        }
    }
    void writtenFileFollowsTheLayout() {
        QFETCH(int, layoutIndex);
        QFETCH(SettingsBlock, settings);
        QFETCH(QList<QByteArray>, settingsLines);
        const ProgramLayout& layout = test::programLayouts().at(layoutIndex);
        FormFixture fixture(test::profileOf(layout));
        TForm1& form = fixture.start();
        form.Panel1->setSettings(settings);
        const QString path = fixture.pathOf("a.qmt");
        fixture.prompter().answerSaveFile(path);
        QTest::mouseClick(form.SaveBtn, Qt::LeftButton);

        const QByteArray written = test::readBytes(path);
        QCOMPARE(written, test::crlfFile(test::defaultMapLines(layout, settingsLines)));
        QCOMPARE(written.count("\r\n"), layout.lines);
        QCOMPARE(written.count('\n'), layout.lines);
        QVERIFY(written.endsWith("\r\n"));
    }

    void roundTripKeepsEveryText_data() { test::addLayoutRows(); }
    void roundTripKeepsEveryText() {
        QFETCH(int, layoutIndex);
        const ProgramLayout& layout = test::programLayouts().at(layoutIndex);
        FormFixture fixture(test::profileOf(layout));
        TForm1& form = fixture.start();
        MapTableModel* cells = form.mapModel;
        const int lastColumn = layout.columns - 1;
        const int lastRow = layout.rows - 1;
        cells->setCellText(0, 0, QStringLiteral("sarok"));
        cells->setCellText(lastColumn, 0, QStringLiteral("4.25"));
        cells->setCellText(0, lastRow, QStringLiteral("11500"));
        cells->setCellText(1, 1, QStringLiteral("12,5"));
        cells->setCellText(2, 1, QString());
        cells->setCellText(1, 2, QStringLiteral("*"));
        cells->setCellText(lastColumn, lastRow, QStringLiteral("Ő 63,5"));
        form.Panel1->setSettings({"8", "12000", "*", "180,5", "Lefutó", "Felfutó"});
        const test::WindowState saved = test::stateOf(form);

        const QString path = fixture.pathOf("kör.qmt");
        fixture.prompter().answerSaveFile(path);
        form.SaveBtnClick();
        QVERIFY(test::readBytes(path).contains("\r\n*\r\n180,5\r\nLefut\xF3\r\nFelfut\xF3\r\n"));

        form.resetTable(ResetScope::WithAxes);
        fixture.prompter().answerOpenFile(path);
        form.LoadBtnClick();
        const test::WindowState loaded = test::stateOf(form);
        QCOMPARE(loaded.table, saved.table);
        QCOMPARE(loaded.settings, saved.settings);
        QCOMPARE(loaded.cylinderIndex, saved.cylinderIndex);
        QCOMPARE(loaded.inputPolarityIndex, 0);
        QCOMPARE(loaded.outputPolarityIndex, 0);
        QVERIFY(fixture.prompter().unexpected().isEmpty());
    }

    void saveUnderANewName_data() { test::addLayoutRows(); }
    void saveUnderANewName() {
        QFETCH(int, layoutIndex);
        const VariantProfile& profile = test::profileOf(test::programLayouts().at(layoutIndex));
        FormFixture fixture(profile);
        TForm1& form = fixture.start();
        const QString path = fixture.pathOf("új.qmt");
        fixture.prompter().answerSaveFile(path);
        QTest::mouseClick(form.SaveBtn, Qt::LeftButton);

        const auto& records = fixture.prompter().records();
        QCOMPARE(records.size(), 3);
        QCOMPARE(records.at(0).kind, Kind::SaveFile);
        // The first save proposes the default name in the start-up folder.
        QCOMPARE(records.at(0).request.presetName, profile.defaultMapFileName);
        QCOMPARE(records.at(0).request.directory, fixture.folder());
        QCOMPARE(records.at(0).request.filter, QStringLiteral("Map tábla (*.qmt)"));
        QCOMPARE(records.at(0).request.defaultSuffix, QStringLiteral("qmt"));
        QCOMPARE(fixture.prompter().messages(), QStringList({path, kSaved}));

        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(test::readBytes(fixture.pathOf(profile.workingFileName)),
                 QByteArray(path.toUtf8().replace("\xC3\xBA", "\xFA") + "\r\n" +
                            portAtStart(profile) + "\r\n"));
        QVERIFY(form.LetoltBtn->isEnabled());
        QCOMPARE(form.currentMapFileName(), path);
        QCOMPARE(form.windowTitle(), profile.captionShowsSavedFile ? path : "Form1");
    }

    void overwriteAnsweredNoKeepsTheFile() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        const QString path = fixture.pathOf("meglevo.qmt");
        const QByteArray old = "qmt8\r\nnot to be touched\r\n";
        test::writeBytes(path, old);
        const test::WindowState before = test::stateOf(form);
        fixture.prompter().answerSaveFile(path);
        fixture.prompter().answerYesNo(false);
        form.SaveBtnClick();

        QCOMPARE(fixture.prompter().messages(), QStringList({path}));
        QCOMPARE(fixture.prompter().texts(Kind::YesNo), QStringList({kOverwrite}));
        QCOMPARE(test::readBytes(path), old);
        QVERIFY(!QFileInfo::exists(fixture.pathOf("Editv8.txt")));
        QVERIFY(test::stateOf(form) == before);
    }

    void savingTwiceAsksTheSecondTime() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        const QString path = fixture.pathOf("ketszer.qmt");
        fixture.prompter().answerSaveFile(path);
        form.SaveBtnClick();
        QVERIFY(fixture.prompter().texts(Kind::YesNo).isEmpty());

        form.mapModel->setCellText(4, 30, QStringLiteral("33"));
        fixture.prompter().clear();
        fixture.prompter().answerSaveFile(path);
        fixture.prompter().answerYesNo(true);
        form.SaveBtnClick();
        QCOMPARE(fixture.prompter().texts(Kind::SaveFile), QStringList({path}));
        QCOMPARE(fixture.prompter().texts(Kind::YesNo), QStringList({kOverwrite}));
        QCOMPARE(fixture.prompter().messages(), QStringList({path, kSaved}));
        QVERIFY(test::readBytes(path).endsWith("\r\n7850\r\n1\r\n2\r\n3\r\n33\r\n"));
    }

    void cancelledSaveDialogChangesNothing() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        const test::WindowState before = test::stateOf(form);
        fixture.prompter().answerSaveFile(std::nullopt);
        form.SaveBtnClick();
        QCOMPARE(fixture.prompter().records().size(), 1);
        QVERIFY(test::stateOf(form) == before);
        QCOMPARE(QDir(fixture.folder()).entryList(QDir::Files), QStringList());
    }

    void loadAThenSaveBThenStartAgain_data() { test::addLayoutRows(); }
    void loadAThenSaveBThenStartAgain() {
        QFETCH(int, layoutIndex);
        const ProgramLayout& layout = test::programLayouts().at(layoutIndex);
        const VariantProfile& profile = test::profileOf(layout);
        FormFixture fixture(profile);
        TForm1& first = fixture.start();
        const QString a = fixture.pathOf("A.qmt");
        const QString b = fixture.pathOf("B.qmt");
        test::writeBytes(a, test::crlfFile(test::defaultMapLines(layout, {"4"})));

        fixture.prompter().answerOpenFile(a);
        first.LoadBtnClick();
        first.mapModel->setCellText(1, 1, QStringLiteral("17"));
        fixture.prompter().answerSaveFile(b);
        first.SaveBtnClick();
        QCOMPARE(first.windowTitle(), profile.captionShowsSavedFile ? b : a);
        QCOMPARE(first.currentMapFileName(), b);
        // Loading A again does not make it the map of the next start.
        fixture.prompter().answerOpenFile(a);
        first.LoadBtnClick();
        QCOMPARE(first.windowTitle(), a);

        fixture.prompter().clear();
        TForm1& next = fixture.restart();
        QVERIFY(fixture.prompter().records().isEmpty());
        QCOMPARE(next.currentMapFileName(), b);
        QCOMPARE(next.windowTitle(), b);
        QVERIFY(next.LetoltBtn->isEnabled());
        QCOMPARE(next.table().cell(1, 1), QStringLiteral("17"));
        QCOMPARE(next.Panel1->settings().cylinders, QStringLiteral("4"));
        QVERIFY(fixture.prompter().unexpected().isEmpty());
    }

    // Faults

    void failedMapWriteChangesNothing_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("target is a folder") << "folder";
        QTest::newRow("folder is a file") << "parent file";
        QTest::newRow("read-only folder") << "read-only";
        QTest::newRow("write fails part-way") << "part-way";
        QTest::newRow("text outside the code page") << "text";
    }
    void failedMapWriteChangesNothing() {
        QFETCH(QString, fault);
        if (fault == "read-only" && ::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        const QString workingFile = fixture.pathOf("Editv8.txt");
        const QByteArray record = "/elozo.qmt\r\n2\r\n";
        test::writeBytes(workingFile, record);
        const QByteArray old = "qmt8\r\nold\r\n";
        QDir folder(fixture.folder());
        QString path = fixture.pathOf("map.qmt");
        if (fault == "folder") {
            QVERIFY(folder.mkdir("map.qmt"));
        } else if (fault == "parent file") {
            test::writeBytes(fixture.pathOf("plain"), "x");
            path = fixture.pathOf("plain/map.qmt");
        } else if (fault == "read-only") {
            QVERIFY(folder.mkdir("ro"));
            path = fixture.pathOf("ro/map.qmt");
            test::writeBytes(path, old);
            QFile::setPermissions(fixture.pathOf("ro"),
                                  QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        } else {
            test::writeBytes(path, old);
        }
        if (fault == "text")
            form.mapModel->setCellText(3, 2, QStringLiteral("\u4F60"));
        const test::WindowState before = test::stateOf(form);

        fixture.prompter().answerSaveFile(path);
        if (QFileInfo::exists(path))
            fixture.prompter().answerYesNo(true);
        {
            std::optional<test::FileSizeLimit> limit;
            if (fault == "part-way")
                limit.emplace(100);
            form.SaveBtnClick();
        }
        if (fault == "read-only")
            QFile::setPermissions(fixture.pathOf("ro"), QFileDevice::ReadOwner |
                                                            QFileDevice::WriteOwner |
                                                            QFileDevice::ExeOwner);

        const QStringList shown = fixture.prompter().messages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0), path);
        QVERIFY2(shown.at(1).startsWith(kCannotSave + path + u'\n'), qPrintable(shown.at(1)));
        QVERIFY(shown.at(1).size() > kCannotSave.size() + path.size() + 1); // says why
        if (fault == "text")
            QVERIFY(shown.at(1).endsWith(QStringLiteral("cella (oszlop 3, sor 2)")));
        QVERIFY(fixture.prompter().allAnswersUsed());
        QVERIFY(test::stateOf(form) == before);
        QCOMPARE(test::readBytes(workingFile), record);
        if (fault == "folder")
            QVERIFY(QFileInfo(path).isDir());
        else if (fault != "parent file")
            QCOMPARE(test::readBytes(path), old);
        // No half-written temporary file is left behind.
        const QStringList left = QDir(QFileInfo(path).path()).entryList(QDir::Files);
        QVERIFY2(left.size() <= 2, qPrintable(left.join(u' ')));
    }

    void unwritableWorkingFileIsReportedAfterTheSuccess() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        QVERIFY(QDir(fixture.folder()).mkdir("Editv4_60.txt"));
        const QString path = fixture.pathOf("map.qmt");
        fixture.prompter().answerSaveFile(path);
        form.SaveBtnClick();

        const QStringList shown = fixture.prompter().messages();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.mid(0, 2), QStringList({path, kSaved}));
        QVERIFY2(shown.at(2).startsWith(QStringLiteral("Nem tudom írni a munkafájlt!\n") +
                                        fixture.pathOf("Editv4_60.txt") + u'\n'),
                 qPrintable(shown.at(2)));
        QCOMPARE(test::readBytes(path).left(9), QByteArray("qmt4_60\r\n"));
        QVERIFY(form.LetoltBtn->isEnabled());
        QCOMPARE(form.currentMapFileName(), path);
        QCOMPARE(form.windowTitle(), path);
    }

    void pathOutsideTheCodePageIsRefused() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        test::writeBytes(fixture.pathOf("Editv.txt"), "/elozo.qmt\r\n2\r\n");
        const test::WindowState before = test::stateOf(form);
        const QString path = fixture.pathOf("\u4F60.qmt");
        fixture.prompter().answerSaveFile(path);
        form.SaveBtnClick();

        const QStringList shown = fixture.prompter().messages();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.at(0).contains(u'\n' + path + u'\n'));
        QVERIFY(fixture.prompter().texts(Kind::YesNo).isEmpty());
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(test::readBytes(fixture.pathOf("Editv.txt")), QByteArray("/elozo.qmt\r\n2\r\n"));
        QVERIFY(test::stateOf(form) == before);
    }
};

QTEST_MAIN(MapSaveTest)
#include "mapsave_test.moc"
