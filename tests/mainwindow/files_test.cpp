#include "chart/chartmirror.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/settingspanel.h"
#include "support/formfixture.h"
#include "support/testfiles.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineSeries>
#include <QPushButton>

using namespace zerwa;
using test::FormFixture;
using test::ProgramFacts;
using Kind = test::ScriptedPrompter::Kind;

namespace {

const QString kSaved = QStringLiteral("Az adatbázis elmentve!");
const QString kOverwrite = QStringLiteral("A file már létezik. Felülírja?");

// The file of the start-up table with the given settings lines.
QList<QByteArray> defaultMapLines(const ProgramFacts& f, const QList<QByteArray>& settings) {
    QList<QByteArray> lines =
        QList<QByteArray>{f.magic.toLatin1()} + settings + QList<QByteArray>{""};
    for (const QString& heading : f.headings)
        lines << heading.toLatin1();
    for (int r = 1; r <= f.rpmRows; ++r) {
        lines << QByteArray::number(f.defaultRpm(r));
        for (int c = 1; c <= f.mapColumns; ++c)
            lines << QByteArray::number(c);
    }
    return lines;
}

// Everything a map read or save may change on the main window.
QStringList stateOf(const TForm1& form) {
    const SettingsBlock s = form.Panel1->settings();
    QStringList state = {s.cylinders,
                         s.limitRpm,
                         s.opening,
                         s.closing,
                         s.inputPolarity,
                         s.outputPolarity,
                         form.windowTitle(),
                         form.currentMapFileName(),
                         form.LetoltBtn->isEnabled() ? "enabled" : "disabled"};
    for (int r = 0; r < form.table().rows(); ++r)
        for (int c = 0; c < form.table().columns(); ++c)
            state << form.table().cell(c, r);
    return state;
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT

private slots:
    void saveUnderANewName_data() { test::addProgramRows(); }
    void saveUnderANewName() {
        QFETCH(const ProgramFacts*, program);
        const ProgramFacts& f = *program;
        FormFixture fixture(f.profile());
        TForm1& form = fixture.start();
        form.Panel1->setSettings({"2", "3500", "0,8", "5", "Felfutó", "Lefutó"});
        const QString path = fixture.pathOf("új.qmt");
        fixture.prompter().saveFiles.push_back(path);
        QTest::mouseClick(form.SaveBtn, Qt::LeftButton);

        const auto& request = fixture.prompter().records.at(0).request;
        QCOMPARE(request.presetName, f.defaultMapFile);
        QCOMPARE(request.directory, fixture.folder());
        QCOMPARE(request.filter, QStringLiteral("Map tábla (*.qmt)"));
        QCOMPARE(request.defaultSuffix, QStringLiteral("qmt"));
        QCOMPARE(fixture.prompter().messages(), QStringList({path, kSaved}));
        const QByteArray written = test::readBytes(path);
        QCOMPARE(written, test::crlfFile(defaultMapLines(
                              f, {"2", "3500", "0,8", "5", "Felfut\xF3", "Lefut\xF3"})));
        QCOMPARE(written.count("\r\n"), f.mapFileLines);
        QCOMPARE(test::readBytes(fixture.pathOf(f.workingFile)),
                 path.toLatin1() + "\r\n" + (f.firstPortSelected ? "1" : "") + "\r\n");
        QVERIFY(form.LetoltBtn->isEnabled());
        QCOMPARE(form.currentMapFileName(), path);
        QCOMPARE(form.windowTitle(), f.captionShowsSavedFile ? path : QStringLiteral("Form1"));
    }

    void savingOverAFileAsksFirst() {
        for (const bool yes : {false, true}) {
            FormFixture fixture(profiles::zerwa4());
            TForm1& form = fixture.start();
            const QString path = fixture.pathOf("meglevo.qmt");
            test::writeBytes(path, "qmt4\r\nold\r\n");
            const QStringList before = stateOf(form);
            fixture.prompter().saveFiles = {path};
            fixture.prompter().yesNo = {yes};
            form.SaveBtnClick();
            QCOMPARE(fixture.prompter().texts(Kind::YesNo), QStringList({kOverwrite}));
            QCOMPARE(fixture.prompter().messages(),
                     yes ? QStringList({path, kSaved}) : QStringList({path}));
            QCOMPARE(test::readBytes(path).startsWith("qmt4\r\nold\r\n"), !yes);
            QCOMPARE(QFileInfo::exists(fixture.pathOf("Editv.txt")), yes);
            QCOMPARE(stateOf(form) == before, !yes);
        }
    }

    void loadFillsTheWindowAndRedrawsTheChart_data() { test::addProgramRows(); }
    void loadFillsTheWindowAndRedrawsTheChart() {
        QFETCH(const ProgramFacts*, program);
        const ProgramFacts& f = *program;
        FormFixture fixture(f.profile());
        TForm1& form = fixture.start();
        QList<QByteArray> lines =
            defaultMapLines(f, {"8", "12000", "*", "180,5", "Felfut\xF3", "Lefut\xF3"});
        const int columns = f.mapColumns + 1;
        lines[7] = "sarok";
        lines[7 + 3] = "4.20";               // heading of column 3
        lines[7 + columns] = "999";          // rpm of row 1
        lines[7 + 2 * columns + 3] = "12,5"; // cell (3, 2)
        lines.last() = "";
        const QString path = fixture.pathOf("térkép A.qmt");
        test::writeBytes(path, test::crlfFile(lines));
        fixture.prompter().openFiles.push_back(path);
        QTest::mouseClick(form.LoadBtn, Qt::LeftButton);

        const auto& request = fixture.prompter().records.at(0).request;
        QCOMPARE(request.presetName, QString());
        QCOMPARE(request.directory, fixture.folder());
        QCOMPARE(request.filter, QStringLiteral("Map tábla (*.qmt)"));
        QCOMPARE(form.Panel1->settings(),
                 (SettingsBlock{"8", "12000", "*", "180,5", "Felfutó", "Lefutó"}));
        QCOMPARE(form.Panel1->ComboBox3->currentIndex(), 1);
        QCOMPARE(form.Panel1->ComboBox4->currentIndex(), 1);
        QCOMPARE(form.table().cell(0, 0), QStringLiteral("sarok"));
        QCOMPARE(form.table().cell(f.mapColumns, f.rpmRows), QString());
        QVERIFY(form.LetoltBtn->isEnabled());
        QCOMPARE(form.windowTitle(), path);
        QCOMPARE(form.currentMapFileName(), path);
        // The chart re-reads the values (up to the empty last cell, which is reported), not the
        // titles after that failure, and never the rpm labels.
        QCOMPARE(fixture.prompter().errors(), QStringList({"'' nem érvényes szám."}));
        QCOMPARE(form.chart()->series(3)->at(1).y(), 12.5);
        QCOMPARE(form.chart()->series(3)->name(), f.headings.at(2));
        QCOMPARE(form.chart()->pointLabel(1, 0), QString::number(f.firstRpm));

        lines.last() = "1";
        test::writeBytes(path, test::crlfFile(lines));
        fixture.prompter().openFiles.push_back(path);
        form.LoadBtnClick();
        QCOMPARE(form.chart()->series(3)->name(), QStringLiteral("4.20"));

        // Another program's file is refused, and a cancelled dialog changes nothing either.
        const ProgramFacts& other = test::programFacts().at(&f == &test::programFacts().at(0));
        test::writeBytes(path, test::crlfFile(defaultMapLines(other, {"4", "", "", "", "", ""})));
        const QStringList before = stateOf(form);
        fixture.prompter().records.clear();
        fixture.prompter().openFiles = {path, std::nullopt};
        form.LoadBtnClick();
        form.LoadBtnClick();
        QCOMPARE(fixture.prompter().messages(), QStringList({"Nem megfelelő adatállomány!"}));
        QCOMPARE(stateOf(form), before);
    }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
