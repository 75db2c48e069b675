// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: built as designed, started from its working file, resized, closed; and the
// map files it reads and writes through Load and Save.
#include "gui/chart/chartmirror.h"
#include "gui/chart/mapchartview.h"
#include "gui/mainwindow/buttonbars.h"
#include "gui/mainwindow/portchooserpanel.h"
#include "gui/mainwindow/tablecommands.h"
#include "gui/support/formfixture.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QValueAxis>

using namespace zerwa;
using test::FormFixture;
using test::ProgramFacts;
using Kind = test::ScriptedPrompter::Kind;

namespace {

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QList<QRect> geometries(const QList<QWidget*>& widgets) {
    QList<QRect> result;
    for (const QWidget* widget : widgets)
        result << widget->geometry();
    return result;
}

const QString kSaved = QStringLiteral("Az adatbázis elmentve!");
const QString kOverwrite = QStringLiteral("A file már létezik. Felülírja?");

// Everything a map read or save may change on the main window.
auto stateOf(const TForm1& form) {
    return std::tuple(form.Panel1->settings(), form.table(), form.windowTitle(),
                      form.currentMapFileName(), form.LetoltBtn->isEnabled());
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void builtAsDesigned_data() { test::addProgramRows(); }
    void builtAsDesigned() {
        QFETCH(const ProgramFacts*, program);
        const ProgramFacts& f = *program;
        FormFixture fixture(f.profile());
        TForm1& form = fixture.start();
        QCOMPARE(form.size(), QSize(720, f.windowHeight));
        QCOMPARE(form.minimumSize(), QSize(720, f.minHeight));
        QCOMPARE(form.maximumSize(), QSize(720, f.maxHeight));
        // clang-format off
        QCOMPARE(geometries({form.Panel4, form.LoadBtn, form.SaveBtn, form.EditBtn, form.TorolBtn,
                             form.HelpBtn, form.StringGrid1, form.Panel1, form.Panel3, form.KilepBtn,
                             form.ComBtn, form.LetoltBtn, form.Panel3->Panel5, form.Chart1}),
                 QList<QRect>({{7, 7, 362, 46}, {7, 10, 58, 28}, {72, 10, 58, 28}, {153, 10, 58, 28},
                               {234, 10, 58, 28}, {323, 10, 30, 28}, {7, 65, 362, f.gridHeight},
                               {391, 196, 312, 202}, {391, 404, 312, 46}, {20, 10, 60, 28},
                               {124, 10, 60, 28}, {234, 10, 61, 28}, {0, 0, 312, 46}, {391, 7, 314, 178}}));
        // clang-format on
        QCOMPARE(QStringList({form.LoadBtn->text(), form.SaveBtn->text(), form.EditBtn->text(),
                              form.TorolBtn->text(), form.HelpBtn->text(), form.KilepBtn->text(),
                              form.LetoltBtn->text(), form.Panel3->Panel5->Label6->text(),
                              form.Panel3->Panel5->ComOkBtn->text()}),
                 QStringList({"Load", "Save", "Edit", "Törlés", "", "Kilépés", "Letöltés",
                              "Port :", "OK"}));

        const QList<QWidget*> fields = {form.Panel1->ComboBox1, form.Panel1->Edit1,
                                        form.Panel1->Edit2,     form.Panel1->Edit3,
                                        form.Panel1->ComboBox3, form.Panel1->ComboBox4};
        const int fieldTops[] = {7, 39, 72, 104, 137, 169};
        const int labelTops[] = {13, 46, 78, 111, 143, 169};
        QStringList labels;
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(fields.at(i)->geometry(), QRect(f.fieldLeft, fieldTops[i], f.fieldWidth, 24));
            QCOMPARE(form.Panel1->labels.at(i)->pos(), QPoint(20, labelTops[i]));
            labels << form.Panel1->labels.at(i)->text();
        }
        QCOMPARE(labels,
                 QStringList({"Hengerek száma :", "Határolási ford. szám :",
                              "Nyitás (ms/vezérlési mód) :", "Zárás (ms/zárási szög(fok)) :",
                              "Bemeneti polaritás :", "Kimeneti polaritás :"}));
        QCOMPARE(itemsOf(form.Panel1->ComboBox1), f.cylinders);
        QCOMPARE(itemsOf(form.Panel1->ComboBox3), QStringList({"Lefutó", "Felfutó"}));
        QCOMPARE(itemsOf(form.Panel1->ComboBox4), QStringList({"Felfutó", "Lefutó"}));
        QComboBox* ports = form.Panel3->Panel5->ComboBox2;
        QCOMPARE(itemsOf(ports).size(), f.portItems);
        QCOMPARE(ports->itemText(f.portItems - 1), QString::number(f.portItems));
        QCOMPARE(ports->currentIndex(), f.firstPortSelected ? 0 : -1);

        MapGrid* grid = form.StringGrid1;
        QCOMPARE(grid->verticalHeader()->width(), f.columnWidths.at(0));
        for (int c = 1; c <= f.mapColumns; ++c)
            QCOMPARE(grid->columnWidth(c), f.columnWidths.at(c));
        QCOMPARE(grid->rowHeight(1), 20);
        QCOMPARE(grid->model()->columnCount(), f.mapColumns + 1);
        QCOMPARE(grid->model()->rowCount(), f.rpmRows + 1);

        QStringList menu;
        for (const QAction* action : form.tableCommands()->PopupMenu1->actions())
            menu << action->text();
        QCOMPARE(menu, f.slopeFill ? QStringList({"Plusz", "Minusz", "Függvény"})
                                   : QStringList({"Plusz", "Minusz"}));

        ChartMirror* chart = form.chart();
        QCOMPARE(chart->chart()->title(), QStringLiteral("Grafikon"));
        QVERIFY(chart->chart()->isPlotAreaBackgroundVisible()); // the back wall is white
        QCOMPARE(chart->chart()->plotAreaBackgroundBrush().color(), QColor(Qt::white));
        QCOMPARE(chart->seriesCount(), f.mapColumns);
        const QList<QColor> colours = {{0, 128, 255},  {255, 0, 0},    {0, 128, 0},
                                       {128, 0, 0},    {255, 255, 0},  {128, 255, 255},
                                       {128, 128, 64}, {255, 128, 255}};
        for (int c = 1; c <= f.mapColumns; ++c) {
            QCOMPARE(chart->series(c)->objectName(), QStringLiteral("Series%1").arg(c));
            QCOMPARE(chart->series(c)->pen().color(), colours.at(c - 1));
            QCOMPARE(chart->series(c)->count(), f.rpmRows);
        }
        const auto* valueAxis =
            qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Vertical).value(0));
        QVERIFY(valueAxis);
        QCOMPARE(QPointF(valueAxis->min(), valueAxis->max()), QPointF(0, 64));

        // First start in an empty folder: the default table, shown and drawn, and nothing else.
        const int c = f.mapColumns;
        QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), f.headings.last());
        QCOMPARE(grid->model()->headerData(f.rpmRows, Qt::Vertical).toInt(),
                 f.defaultRpm(f.rpmRows));
        QCOMPARE(grid->model()->data(grid->model()->index(f.rpmRows, c)).toInt(), c);
        QCOMPARE(chart->series(c)->name(), f.headings.last());
        QCOMPARE(chart->series(c)->at(f.rpmRows - 1), QPointF(f.rpmRows - 1, c));
        QCOMPARE(chart->pointLabel(1, f.rpmRows - 1), QString::number(f.defaultRpm(f.rpmRows)));
        QCOMPARE(form.table().cell(0, 0), QString());
        QCOMPARE(form.Panel1->settings(), SettingsBlock());
        QVERIFY(!form.LetoltBtn->isEnabled());
        QCOMPARE(QStringList({form.ComBtn->text(), form.windowTitle(), form.currentMapFileName()}),
                 QStringList({"Com1", "Form1", f.defaultMapFile}));
        QCOMPARE(form.rememberedCell(), f.rememberedCell);
        QVERIFY(form.Panel3->Panel5->isHidden());
        QVERIFY(fixture.prompter().records.isEmpty());
        // Kilépés asks every time (a No is answered in the test of the real boxes).
        fixture.prompter().yesNo = {true};
        QTest::mouseClick(form.KilepBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().texts(Kind::YesNo),
                 QStringList({"Elmentette a változásokat?"}));
        QCOMPARE(fixture.exitCode(), 0);
    }

    // Start-up reads the working file: line 1 names the map, line 2 the port.
    void startupReopensTheSavedMap_data() {
        QTest::addColumn<const ProgramFacts*>("program");
        QTest::addColumn<QString>("mapFile"); // what line 1 names
        QTest::addColumn<QByteArray>("portLine");
        QTest::addColumn<QString>("message");
        for (const ProgramFacts& f : test::programFacts()) {
            const QByteArray last = QByteArray::number(f.portItems);
            QTest::addRow("%s map", f.name) << &f << "Mérés.qmt" << last << QString();
            QTest::addRow("%s one line", f.name) << &f << "Mérés.qmt" << QByteArray() << QString();
            QTest::addRow("%s deleted map, no such port", f.name)
                << &f << "régi/törölt.qmt" << QByteArray("99")
                << "Nem tudom megnyitni az állományt!\n%1";
        }
    }
    void startupReopensTheSavedMap() {
        QFETCH(const ProgramFacts*, program);
        QFETCH(QString, mapFile);
        QFETCH(QByteArray, portLine);
        QFETCH(QString, message);
        FormFixture fixture(program->profile());
        const QString path = fixture.pathOf(mapFile);
        test::writeBytes(
            fixture.pathOf("Mérés.qmt"),
            test::crlfFile({program->magic.toLatin1(), "8", "3500", "", "", "", "", "sarok"}));
        QByteArray working = path.toLatin1() + "\r\n"; // é, ö and ó have the same byte in Latin-1
        if (!portLine.isEmpty())
            working += portLine + "\r\n";
        test::writeBytes(fixture.pathOf(program->workingFile), working);

        TForm1& form = fixture.start();
        QCOMPARE(form.currentMapFileName(), path);
        const QString port =
            portLine.toInt() > program->portItems || portLine.isEmpty() ? "1" : portLine;
        QCOMPARE(form.ComBtn->text(), "Com" + port);
        QCOMPARE(form.portNumber(), port.toInt());
        if (message.isEmpty()) {
            QCOMPARE(form.windowTitle(), path);
            QVERIFY(form.LetoltBtn->isEnabled());
            QCOMPARE(form.Panel1->settings().limitRpm, QStringLiteral("3500"));
            QCOMPARE(form.table().cell(0, 0), QStringLiteral("sarok"));
            QCOMPARE(fixture.prompter().errors(),
                     QStringList({"'' nem érvényes szám."})); // drawn at 0
            return;
        }
        QCOMPARE(fixture.prompter().messages(), QStringList({message.replace("%1", path)}));
        QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));
        QVERIFY(!form.LetoltBtn->isEnabled());
        QCOMPARE(form.table().cell(1, 0), program->headings.at(0));
        fixture.prompter().saveFiles.push_back(std::nullopt); // the first save proposes that path
        form.SaveBtnClick();
        QCOMPARE(fixture.prompter().texts(Kind::SaveFile), QStringList({path}));
    }

    // The window's height and a double click on the chart.
    void resizeAndEnlarge() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        MapGrid* grid = form.StringGrid1;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resize(720, 780);
        QCOMPARE(grid->height(), 384 + 780 - 495);
        form.resize(900, 300); // beyond the limits
        QCOMPARE(form.size(), QSize(720, 480));
        QCOMPARE(grid->height(), 384 + 480 - 495);
        QWidget* chart = form.Chart1->viewport(); // a drag zooms in, a right click resets
        QTest::mousePress(chart, Qt::LeftButton, {}, QPoint(60, 40));
        QTest::mouseMove(chart, QPoint(200, 120));
        QTest::mouseRelease(chart, Qt::LeftButton, {}, QPoint(200, 120));
        QVERIFY(form.Chart1->chart()->isZoomed());
        QTest::mouseClick(chart, Qt::RightButton);
        QVERIFY(!form.Chart1->chart()->isZoomed());
        for (const ProgramFacts& f : test::programFacts()) {
            FormFixture other(f.profile());
            TForm1& window = other.start();
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTest::mouseDClick(window.Chart1->viewport(), Qt::LeftButton);
            QCOMPARE(window.Chart1->geometry(), QRect(8, 7, 696, f.enlargedChartHeight));
            QVERIFY(!window.StringGrid1->isVisible());
            window.resize(720, 700); // the restored geometry is the one kept at start-up
            QTest::mouseDClick(window.Chart1->viewport(), Qt::LeftButton);
            QCOMPARE(window.Chart1->geometry(), QRect(391, 7, 314, 178));
            QVERIFY(window.StringGrid1->isVisible());
        }
    }

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
        QCOMPARE(QStringList({request.presetName, request.directory, request.filter,
                              request.defaultSuffix}),
                 QStringList({f.defaultMapFile, fixture.folder(), "Map tábla (*.qmt)", "qmt"}));
        QCOMPARE(fixture.prompter().messages(), QStringList({path, kSaved}));
        // The layout is the map file's own; here: the map the window shows, in Windows-1250.
        const QByteArray written = test::readBytes(path);
        QVERIFY(written.contains("\r\nFelfut\xF3\r\nLefut\xF3\r\n"));
        QVERIFY(mapfile::decode(f.profile(), written) ==
                MapFileContent({form.Panel1->settings(), form.table()}));
        QCOMPARE(test::readBytes(fixture.pathOf(f.workingFile)),
                 path.toLatin1() + "\r\n" + (f.firstPortSelected ? "1" : "") + "\r\n");
        QVERIFY(form.LetoltBtn->isEnabled());
        QCOMPARE(QStringList({form.currentMapFileName(), form.windowTitle()}),
                 QStringList({path, f.captionShowsSavedFile ? path : "Form1"}));
    }

    void savingOverAFileAsksFirst() {
        for (const bool yes : {false, true}) {
            FormFixture fixture(profiles::zerwa4());
            TForm1& form = fixture.start();
            const QString path = fixture.pathOf("meglevo.qmt");
            test::writeBytes(path, "qmt4\r\nold\r\n");
            const auto before = stateOf(form);
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
        test::SampleMap map(f.profile());
        map.settings = {"8", "12000", "*", "180,5", "Felfutó", "Lefutó"};
        map.table.setCell(0, 0, "sarok");
        map.table.setCell(3, 0, "4.20");
        map.table.setCell(f.mapColumns, f.rpmRows, "");
        const QString path = fixture.pathOf("térkép A.qmt");
        test::writeMap(path, f.profile(), map);
        fixture.prompter().openFiles.push_back(path);
        QTest::mouseClick(form.LoadBtn, Qt::LeftButton);

        const auto& request = fixture.prompter().records.at(0).request;
        QCOMPARE(QStringList({request.presetName, request.directory, request.filter}),
                 QStringList({"", fixture.folder(), "Map tábla (*.qmt)"}));
        QCOMPARE(form.Panel1->settings(), map.settings);
        QCOMPARE(
            QStringList({form.table().cell(0, 0), form.windowTitle(), form.currentMapFileName()}),
            QStringList({"sarok", path, path}));
        QVERIFY(form.LetoltBtn->isEnabled());
        // The chart re-reads the values up to the empty last cell, which is reported, and not
        // the titles after that failure.
        QCOMPARE(fixture.prompter().errors(), QStringList({"'' nem érvényes szám."}));
        QCOMPARE(form.chart()->series(3)->name(), f.headings.at(2));

        // Another program's file is refused, and a cancelled dialog changes nothing either.
        const ProgramFacts& other = test::programFacts().at(&f == &test::programFacts().at(0));
        test::writeMap(path, other.profile(), test::SampleMap(other.profile()));
        const auto before = stateOf(form);
        fixture.prompter().records.clear();
        fixture.prompter().openFiles = {path, std::nullopt};
        form.LoadBtnClick();
        form.LoadBtnClick();
        QCOMPARE(fixture.prompter().messages(), QStringList({"Nem megfelelő adatállomány!"}));
        QVERIFY(stateOf(form) == before);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
