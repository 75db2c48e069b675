#include "chart/chartmirror.h"
#include "chart/mapchartview.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"
#include "support/profilerows.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QTest>
#include <QValueAxis>

using namespace zerwa;
using zerwa::test::FormFixture;
using zerwa::test::yValues;

namespace {

MapTable defaultTable(const VariantProfile& profile) {
    MapTable table = MapTable::forProfile(profile);
    resetMapTable(table, profile, ResetScope::WithAxes);
    return table;
}

} // namespace

class ChartMirrorTest : public QObject {
    Q_OBJECT

private slots:
    void startUpFillsOneLinePerMapColumn_data() { test::addProfileRows(); }
    void startUpFillsOneLinePerMapColumn() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        ChartMirror* chart = form.chart();

        QCOMPARE(form.Chart1->geometry(), QRect(391, 7, 314, 178));
        QCOMPARE(chart->chart()->title(), QStringLiteral("Grafikon"));
        QCOMPARE(chart->seriesCount(), profile->mapColumns);
        const QList<QColor> colours = {QColor(0, 128, 255),  QColor(255, 0, 0),
                                       QColor(0, 128, 0),    QColor(128, 0, 0),
                                       QColor(255, 255, 0),  QColor(128, 255, 255),
                                       QColor(128, 128, 64), QColor(255, 128, 255)};
        for (int c = 1; c <= profile->mapColumns; ++c) {
            QLineSeries* line = chart->series(c);
            QCOMPARE(line->objectName(), QStringLiteral("Series%1").arg(c));
            QCOMPARE(line->count(), profile->rpmRows);
            QCOMPARE(line->color(), colours.at(c - 1));
            QCOMPARE(line->pen().color(), colours.at(c - 1));
            QVERIFY(!line->pointsVisible());
            QCOMPARE(line->name(), profile->defaultHeadings.at(c - 1));
            for (int k = 0; k < line->count(); ++k) {
                QCOMPARE(line->at(k), QPointF(k, c));
                QCOMPARE(chart->pointLabel(c, k),
                         c == 1 ? QString::number(profile->defaultRpm(k + 1)) : QString());
            }
        }
        const auto valueAxes = chart->chart()->axes(Qt::Vertical);
        QCOMPARE(valueAxes.size(), 1);
        auto* valueAxis = qobject_cast<QValueAxis*>(valueAxes.first());
        QVERIFY(valueAxis);
        QCOMPARE(valueAxis->min(), 0.0);
        QCOMPARE(valueAxis->max(), 64.0);
        auto* rpmAxis = qobject_cast<QCategoryAxis*>(chart->chart()->axes(Qt::Horizontal).first());
        QVERIFY(rpmAxis);
        QCOMPARE(rpmAxis->min(), 0.0);
        QCOMPARE(rpmAxis->max(), double(profile->rpmRows - 1));
        QVERIFY(chart->chart()->legend()->isVisible());
    }

    void valueRefreshReadsEveryCellUnclamped() {
        const VariantProfile& p = profiles::zerwa4();
        FormFixture fixture(p);
        TForm1& form = fixture.start();
        form.mapModel->setCellText(1, 1, QStringLiteral("12,5"));
        form.mapModel->setCellText(4, 30, QStringLiteral("70"));
        form.mapModel->setCellText(2, 7, QStringLiteral("-3"));
        QCOMPARE(form.chart()->series(1)->at(0).y(), 1.0); // no refresh yet
        form.refreshChartValues();
        QCOMPARE(form.chart()->series(1)->at(0).y(), 12.5);
        QCOMPARE(form.chart()->series(4)->at(29).y(), 70.0);
        QCOMPARE(form.chart()->series(2)->at(6).y(), -3.0);
        QCOMPARE(form.chart()->series(3)->at(6), QPointF(6, 3));
    }

    void aFailingCellStopsTheRefreshThere() {
        const VariantProfile& p = profiles::zerwa8();
        FormFixture fixture(p, u'.');
        TForm1& form = fixture.start();
        MapTable table = form.table();
        for (int r = 1; r <= p.rpmRows; ++r)
            for (int c = 1; c <= p.mapColumns; ++c)
                table.setCell(c, r, QStringLiteral("10"));
        table.setCell(3, 5, QStringLiteral("2,5")); // not a number with a point separator
        form.mapModel->setTable(table);
        QVERIFY_THROWS_EXCEPTION(ConversionError, form.refreshChartValues());
        // Rows before row 5 and the lines before line 3 of row 5 were written.
        for (int c = 1; c <= p.mapColumns; ++c) {
            const QList<qreal> values = yValues(form.chart()->series(c));
            for (int k = 0; k < p.rpmRows; ++k) {
                const bool written = k < 4 || (k == 4 && c < 3);
                QCOMPARE(values.at(k), written ? 10.0 : double(c));
            }
        }
    }

    void titlesAndLabelsAreCopiedAsText() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(2, 0, QStringLiteral("4.20"));
        form.mapModel->setCellText(0, 1, QStringLiteral("abc"));
        form.mapModel->setCellText(0, 2, QStringLiteral("abc"));
        form.refreshChartValues();
        QCOMPARE(form.chart()->series(2)->name(), QStringLiteral("2.40")); // only on request
        form.refreshChartTitles();
        QCOMPARE(form.chart()->series(2)->name(), QStringLiteral("4.20"));
        QCOMPARE(form.chart()->pointLabel(1, 0), QStringLiteral("600"));
        form.refreshChartRpmLabels();
        QCOMPARE(form.chart()->pointLabel(1, 0), QStringLiteral("abc"));
        QCOMPARE(form.chart()->pointLabel(1, 1), QStringLiteral("abc")); // equal texts are fine
        QCOMPARE(form.chart()->pointLabel(2, 0), QString());
    }

    void resetWithAxesRetitlesTheLines() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(1, 0, QStringLiteral("x"));
        form.refreshChartTitles();
        form.resetTable(ResetScope::DataOnly);
        QCOMPARE(form.chart()->series(1)->name(), QStringLiteral("x"));
        form.resetTable(ResetScope::WithAxes);
        QCOMPARE(form.chart()->series(1)->name(), QStringLiteral("0.00"));
    }

    void populationDrawsNonNumbersAtZeroAndReportsThem() {
        const VariantProfile& p = profiles::zerwa4_60();
        QWidget window;
        window.setMinimumSize(720, 480);
        ChartMirror chart(p, &window);
        MapTable table = defaultTable(p);
        table.setCell(2, 3, QStringLiteral("hiba"));
        table.setCell(4, 60, QString());
        const auto error = chart.populate(table, NumberFormat(u','));
        QVERIFY(error);
        QCOMPARE(error->text(), QStringLiteral("hiba"));
        for (int c = 1; c <= 4; ++c)
            QCOMPARE(chart.series(c)->count(), 60);
        QCOMPARE(chart.series(2)->at(2).y(), 0.0);
        QCOMPARE(chart.series(4)->at(59).y(), 0.0);
        QCOMPARE(chart.series(3)->at(2).y(), 3.0);
        QCOMPARE(chart.pointLabel(1, 59), QStringLiteral("9500"));
    }

    void doubleClickEnlargesAndRestoresTheChart_data() {
        QTest::addColumn<const VariantProfile*>("profile");
        QTest::addColumn<int>("enlargedHeight");
        QTest::newRow("zerwa8") << &profiles::zerwa8() << 452;
        QTest::newRow("zerwa4") << &profiles::zerwa4() << 444;
        QTest::newRow("zerwa4_60") << &profiles::zerwa4_60() << 444;
    }
    void doubleClickEnlargesAndRestoresTheChart() {
        QFETCH(const VariantProfile*, profile);
        QFETCH(int, enlargedHeight);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QTest::mouseDClick(form.Chart1->viewport(), Qt::LeftButton);
        QCOMPARE(form.Chart1->geometry(), QRect(8, 7, 696, enlargedHeight));
        QVERIFY(form.chart()->isEnlarged());
        QVERIFY(!form.StringGrid1->isVisible());

        // Values still follow while enlarged; the window height does not matter.
        form.mapModel->setCellText(1, 1, QStringLiteral("33"));
        form.refreshChartValues();
        QCOMPARE(form.chart()->series(1)->at(0).y(), 33.0);
        form.resize(720, 700);

        QTest::mouseDClick(form.Chart1->viewport(), Qt::LeftButton);
        QCOMPARE(form.Chart1->geometry(), QRect(391, 7, 314, 178));
        QVERIFY(!form.chart()->isEnlarged());
        QVERIFY(form.StringGrid1->isVisible());
    }
};

QTEST_MAIN(ChartMirrorTest)
#include "chartmirror_test.moc"
