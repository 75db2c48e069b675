#include "mainwindow/buttonbars.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "mainwindow/portchooserpanel.h"
#include "mainwindow/settingspanel.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"
#include "support/profilerows.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace zerwa;
using zerwa::test::addProfileRows;
using zerwa::test::FormFixture;
using zerwa::test::yValues;

class TForm1Test : public QObject {
    Q_OBJECT

private slots:
    void firstStartInAnEmptyFolder_data() { addProfileRows(); }
    void firstStartInAnEmptyFolder() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();

        const MapTable& t = form.table();
        QCOMPARE(t.columns(), profile->mapColumns + 1);
        QCOMPARE(t.rows(), profile->rpmRows + 1);
        QCOMPARE(t.cell(0, 0), QString());
        for (int c = 1; c <= profile->mapColumns; ++c)
            QCOMPARE(t.cell(c, 0), profile->defaultHeadings.at(c - 1));
        for (int r = 1; r <= profile->rpmRows; ++r) {
            QCOMPARE(t.cell(0, r), QString::number(profile->defaultRpm(r)));
            for (int c = 1; c <= profile->mapColumns; ++c)
                QCOMPARE(t.cell(c, r), QString::number(c));
        }
        QCOMPARE(form.Panel1->settings(), SettingsBlock());
        QCOMPARE(form.Panel1->ComboBox1->currentIndex(), -1);
        QCOMPARE(form.Panel1->ComboBox3->currentIndex(), -1);
        QCOMPARE(form.Panel1->ComboBox4->currentIndex(), -1);
        QVERIFY(!form.LetoltBtn->isEnabled());
        QCOMPARE(form.ComBtn->text(), QStringLiteral("Com1"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(form.currentMapFileName(), profile->defaultMapFileName);
        QCOMPARE(form.rememberedCell(), profile->initialRememberedCell);
        QVERIFY(form.startupFolder().endsWith(QLatin1Char('/')));
        QCOMPARE(form.startupFolder(), fixture.folder() + QLatin1Char('/'));
        QVERIFY(fixture.prompter().records().isEmpty());
    }

    void windowGeometryFollowsTheProfile_data() { addProfileRows(); }
    void windowGeometryFollowsTheProfile() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        QCOMPARE(form.size(), QSize(720, profile->windowHeight));
        QCOMPARE(form.minimumSize(), QSize(720, profile->windowMinHeight));
        QCOMPARE(form.maximumSize(), QSize(720, profile->windowMaxHeight));

        QCOMPARE(form.Panel4->geometry(), QRect(7, 7, 362, 46));
        QCOMPARE(form.LoadBtn->geometry(), QRect(7, 10, 58, 28));
        QCOMPARE(form.SaveBtn->geometry(), QRect(72, 10, 58, 28));
        QCOMPARE(form.EditBtn->geometry(), QRect(153, 10, 58, 28));
        QCOMPARE(form.TorolBtn->geometry(), QRect(234, 10, 58, 28));
        QCOMPARE(form.HelpBtn->geometry(), QRect(323, 10, 30, 28));
        QVERIFY(form.HelpBtn->text().isEmpty());
        QVERIFY(!form.HelpBtn->icon().isNull());
        QCOMPARE(form.StringGrid1->geometry(), QRect(7, 65, 362, profile->gridHeight));
        QCOMPARE(form.Panel1->geometry(), QRect(391, 196, 312, 202));
        QCOMPARE(form.Panel3->geometry(), QRect(391, 404, 312, 46));
        QCOMPARE(form.KilepBtn->geometry(), QRect(20, 10, 60, 28));
        QCOMPARE(form.ComBtn->geometry(), QRect(124, 10, 60, 28));
        QCOMPARE(form.LetoltBtn->geometry(), QRect(234, 10, 61, 28));
        QCOMPARE(form.Panel3->Panel5->geometry(), QRect(0, 0, 312, 46));
        QVERIFY(form.Panel3->Panel5->isHidden());

        const QStringList captions = {form.LoadBtn->text(),  form.SaveBtn->text(),
                                      form.EditBtn->text(),  form.TorolBtn->text(),
                                      form.KilepBtn->text(), form.LetoltBtn->text()};
        QCOMPARE(captions, QStringList({"Load", "Save", "Edit", "Törlés", "Kilépés", "Letöltés"}));

        const QList<QWidget*> fields = {form.Panel1->ComboBox1, form.Panel1->Edit1,
                                        form.Panel1->Edit2,     form.Panel1->Edit3,
                                        form.Panel1->ComboBox3, form.Panel1->ComboBox4};
        const int tops[] = {7, 39, 72, 104, 137, 169};
        for (int i = 0; i < fields.size(); ++i) {
            QCOMPARE(fields.at(i)->geometry(),
                     QRect(profile->settingsFieldLeft, tops[i], profile->settingsFieldWidth, 24));
        }
        const int labelTops[] = {13, 46, 78, 111, 143, 169};
        QStringList labels;
        for (int i = 0; i < form.Panel1->labels.size(); ++i) {
            QCOMPARE(form.Panel1->labels.at(i)->pos(), QPoint(20, labelTops[i]));
            labels << form.Panel1->labels.at(i)->text();
        }
        QCOMPARE(labels,
                 QStringList({"Hengerek száma :", "Határolási ford. szám :",
                              "Nyitás (ms/vezérlési mód) :", "Zárás (ms/zárási szög(fok)) :",
                              "Bemeneti polaritás :", "Kimeneti polaritás :"}));
    }

    void listsHoldTheirItems_data() { addProfileRows(); }
    void listsHoldTheirItems() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        auto items = [](QComboBox* box) {
            QStringList list;
            for (int i = 0; i < box->count(); ++i)
                list << box->itemText(i);
            return list;
        };
        QCOMPARE(items(form.Panel1->ComboBox1), profile->cylinderItems);
        QCOMPARE(items(form.Panel1->ComboBox3), QStringList({"Lefutó", "Felfutó"}));
        QCOMPARE(items(form.Panel1->ComboBox4), QStringList({"Felfutó", "Lefutó"}));
        QComboBox* ports = form.Panel3->Panel5->ComboBox2;
        QCOMPARE(ports->count(), profile->portItemCount);
        QCOMPARE(ports->itemText(ports->count() - 1), QString::number(profile->portItemCount));
        QCOMPARE(ports->currentIndex(), profile->firstPortSelectedAtStart ? 0 : -1);
        QCOMPARE(form.Panel3->Panel5->Label6->text(), QStringLiteral("Port :"));
        QCOMPARE(form.Panel3->Panel5->ComOkBtn->text(), QStringLiteral("OK"));
        QVERIFY(form.Panel3->Panel5->ComOkBtn->isDefault());
    }

    void gridShowsTheAxesAsHeaders_data() { addProfileRows(); }
    void gridShowsTheAxesAsHeaders() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        MapGrid* grid = form.StringGrid1;
        QCOMPARE(grid->fixedColumnCount(), 1);
        QCOMPARE(grid->fixedRowCount(), 1);
        QVERIFY(grid->isRowHidden(0));
        QVERIFY(grid->isColumnHidden(0));
        QVERIFY(!grid->horizontalHeader()->isHidden());
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(),
                 profile->defaultHeadings.at(0));
        QCOMPARE(grid->model()->headerData(1, Qt::Vertical).toString(),
                 QString::number(profile->defaultRpm(1)));
        QCOMPARE(grid->verticalHeader()->width(), profile->gridColumnWidths.at(0));
        for (int c = 1; c <= profile->mapColumns; ++c)
            QCOMPARE(grid->columnWidth(c), profile->gridColumnWidths.at(c));
        QCOMPARE(grid->rowHeight(1), 20);
        QCOMPARE(grid->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
        QCOMPARE(grid->currentCell(), (CellPos{1, 1}));

        // Fixed cells can be neither selected nor edited.
        const auto heading = grid->model()->index(0, 1);
        QVERIFY(!(grid->model()->flags(heading) & Qt::ItemIsEditable));
        QVERIFY(!(grid->model()->flags(heading) & Qt::ItemIsSelectable));
        QVERIFY(grid->model()->flags(grid->model()->index(1, 1)) & Qt::ItemIsEditable);
    }

    void editToggleMakesTheAxesOrdinaryCells() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        MapGrid* grid = form.StringGrid1;

        QTest::mouseClick(form.EditBtn, Qt::LeftButton);
        QCOMPARE(grid->fixedColumnCount(), 0);
        QCOMPARE(grid->fixedRowCount(), 0);
        QVERIFY(form.axisEditMode());
        QVERIFY(!grid->isRowHidden(0));
        QVERIFY(!grid->isColumnHidden(0));
        QVERIFY(grid->horizontalHeader()->isHidden());
        QVERIFY(grid->model()->flags(grid->model()->index(0, 1)) & Qt::ItemIsEditable);
        QVERIFY(grid->model()->flags(grid->model()->index(3, 0)) & Qt::ItemIsSelectable);
        QCOMPARE(form.EditBtn->text(), QStringLiteral("Edit"));

        // Typing into an rpm cell writes the table cell that the map file stores.
        grid->placeCellSilently({0, 3});
        QVERIFY(grid->model()->setData(grid->model()->index(3, 0), QStringLiteral("777")));
        QCOMPARE(form.table().cell(0, 3), QStringLiteral("777"));

        QTest::mouseClick(form.EditBtn, Qt::LeftButton);
        QCOMPARE(grid->fixedColumnCount(), 1);
        QCOMPARE(grid->fixedRowCount(), 1);
        QVERIFY(!form.axisEditMode());
        QCOMPARE(grid->model()->headerData(3, Qt::Vertical).toString(), QStringLiteral("777"));
        // The selection left the axis that became fixed.
        QCOMPARE(grid->currentCell(), (CellPos{1, 3}));
    }

    void resetWithAxesRestoresEditedAxes() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(0, 2, QStringLiteral("999"));
        form.mapModel->setCellText(3, 0, QStringLiteral("4.20"));
        form.mapModel->setCellText(0, 0, QStringLiteral("sarok"));
        form.mapModel->setCellText(4, 5, QStringLiteral("33"));
        form.Panel1->setSettings({"4", "3500", "*", "180", "Lefutó", "Felfutó"});
        form.LetoltBtn->setEnabled(true);

        form.resetTable(ResetScope::DataOnly);
        QCOMPARE(form.table().cell(0, 2), QStringLiteral("999"));
        QCOMPARE(form.table().cell(3, 0), QStringLiteral("4.20"));
        QCOMPARE(form.table().cell(0, 0), QStringLiteral("sarok"));
        QCOMPARE(form.table().cell(4, 5), QStringLiteral("4"));
        QCOMPARE(form.Panel1->settings(), SettingsBlock());
        QVERIFY(!form.LetoltBtn->isEnabled());

        form.resetTable(ResetScope::WithAxes);
        QCOMPARE(form.table().cell(0, 2), QStringLiteral("850"));
        QCOMPARE(form.table().cell(3, 0), QStringLiteral("2.40"));
        QCOMPARE(form.table().cell(0, 0), QString());
        // A reset changes neither the file name, the caption nor the remembered cell.
        QCOMPARE(form.currentMapFileName(), QStringLiteral("elso8.qmt"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));
    }

    void settingsSelectListItemsByText() {
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        form.Panel1->setSettings({"1", "x", "", "5", "Felfutó", "Lefut\u00c3\u00b3"});
        QCOMPARE(form.Panel1->ComboBox1->currentIndex(), -1); // no "1" in this program
        QCOMPARE(form.Panel1->ComboBox3->currentText(), QStringLiteral("Felfutó"));
        QCOMPARE(form.Panel1->ComboBox4->currentIndex(), -1); // UTF-8 bytes read as 1250
        form.Panel1->setSettings({"8", "", "", "", "felfutó", "Lefutó"});
        QCOMPARE(form.Panel1->ComboBox1->currentText(), QStringLiteral("8"));
        QCOMPARE(form.Panel1->ComboBox3->currentIndex(), -1); // case counts
        QCOMPARE(form.Panel1->ComboBox4->currentText(), QStringLiteral("Lefutó"));
    }

    void exitAnsweredNoChangesNothing() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(2, 2, QStringLiteral("17"));
        const MapTable before = form.table();
        fixture.prompter().answerYesNo(false);
        QTest::mouseClick(form.KilepBtn, Qt::LeftButton);
        QCOMPARE(fixture.prompter().texts(test::ScriptedPrompter::Kind::YesNo),
                 QStringList({"Elmentette a változásokat?"}));
        QVERIFY(!fixture.exitCode());
        QCOMPARE(form.table(), before);
    }

    void exitAnsweredYesEndsTheProcessWithCodeZero() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        fixture.prompter().answerYesNo(true);
        form.KilepBtnClick();
        QCOMPARE(fixture.exitCode(), std::optional<int>(0));
        QVERIFY(fixture.prompter().unexpected().isEmpty());
    }

    void gridFollowsTheWindowHeight() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resize(720, 780);
        QCOMPARE(form.height(), 780);
        QCOMPARE(form.StringGrid1->height(), 384 + 780 - 495);
        form.resize(720, 300); // below the limit
        QCOMPARE(form.height(), 480);
        QCOMPARE(form.StringGrid1->height(), 384 + 480 - 495);
        form.resize(900, 495);
        QCOMPARE(form.width(), 720);
    }
};

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
