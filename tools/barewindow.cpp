// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick the programs' start-up is timed against: a bare window with the widgets of
// zerwa4_60 and nothing behind them. 720 x 491, titled "Form1", a 5 x 61 text table, a chart
// of 4 lines of 60 points and 8 buttons; it reads no file.
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QWidget>

namespace {

constexpr int kColumns = 5;
constexpr int kRows = 61;
constexpr int kLines = 4;
constexpr int kPoints = 60;

QTableWidget* makeTable(QWidget* parent) {
    auto* table = new QTableWidget(kRows, kColumns, parent);
    table->setGeometry(7, 65, 362, 380);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QString text =
                column == 0 ? QString::number(500 + 150 * row) : QString::number(column);
            table->setItem(row, column, new QTableWidgetItem(text));
        }
    }
    return table;
}

QChartView* makeChart(QWidget* parent) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Grafikon"));
    for (int line = 1; line <= kLines; ++line) {
        auto* series = new QLineSeries(chart);
        series->setName(QString::number(line));
        for (int point = 0; point < kPoints; ++point)
            series->append(point, line);
        chart->addSeries(series);
    }
    chart->createDefaultAxes();
    auto* view = new QChartView(chart, parent);
    view->setGeometry(391, 7, 314, 178);
    return view;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Form1"));
    window.resize(720, 491);
    makeTable(&window);
    makeChart(&window);
    const QRect buttons[] = {{14, 17, 58, 28},   {79, 17, 58, 28},  {160, 17, 58, 28},
                             {241, 17, 58, 28},  {330, 17, 30, 28}, {411, 414, 60, 28},
                             {515, 414, 60, 28}, {625, 414, 61, 28}};
    int number = 0;
    for (const QRect& geometry : buttons) {
        auto* button = new QPushButton(QStringLiteral("Button%1").arg(++number), &window);
        button->setGeometry(geometry);
    }
    window.show();
    return QApplication::exec();
}
