// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chartmirror.h"

#include "gui/chart/mapchartview.h"
#include "gui/chart/rpmaxis.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFont>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <QWidget>

namespace zerwa {

namespace {

const QRect kChartGeometry(391, 7, 314, 178);
constexpr int kEnlargedLeft = 8;
constexpr int kEnlargedWidthMargin = 24;
constexpr qreal kValueAxisMaximum = 64;

// The line colours, Series1 first.
const QColor kSeriesColours[] = {
    QColor(0, 128, 255), QColor(255, 0, 0),     QColor(0, 128, 0),    QColor(128, 0, 0),
    QColor(255, 255, 0), QColor(128, 255, 255), QColor(128, 128, 64), QColor(255, 128, 255),
};

} // namespace

ChartMirror::ChartMirror(const VariantProfile& profile, QWidget* window)
    : QObject(window)
    , m_profile(profile)
    , m_window(window)
    , m_chart(new QChart) {
    m_chart->setTitle(QStringLiteral("Grafikon"));
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setBackgroundRoundness(0);
    m_chart->setMargins(QMargins(0, 0, 0, 0));
    m_chart->layout()->setContentsMargins(2, 0, 2, 0);
    m_chart->setPlotAreaBackgroundBrush(Qt::white);
    m_chart->setPlotAreaBackgroundVisible(true);
    m_chart->legend()->setAlignment(Qt::AlignRight);
    // Eight titles must fit beside a 178-pixel-high chart.
    QFont small = m_chart->legend()->font();
    small.setPointSizeF(7);
    m_chart->legend()->setFont(small);
    m_chart->legend()->setContentsMargins(0, 0, 0, 0);
    QFont titleFont = m_chart->titleFont();
    titleFont.setPointSizeF(8);
    m_chart->setTitleFont(titleFont);

    m_valueAxis = new QValueAxis(m_chart);
    m_valueAxis->setRange(0, kValueAxisMaximum);
    m_valueAxis->setTickCount(5);
    m_valueAxis->setLabelFormat(QStringLiteral("%d"));
    m_rpmAxis = new RpmAxis(m_chart, profile.rpmRows, this);
    m_chart->addAxis(m_rpmAxis->axis(), Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);

    for (int c = 1; c <= profile.mapColumns; ++c) {
        auto* line = new QLineSeries(m_chart);
        line->setObjectName(QStringLiteral("Series%1").arg(c));
        line->setPen(QPen(kSeriesColours[c - 1], 1));
        line->setPointsVisible(false);
        m_chart->addSeries(line);
        line->attachAxis(m_rpmAxis->axis());
        line->attachAxis(m_valueAxis);
        m_series << line;
    }

    m_view = new MapChartView(m_chart, window);
    m_view->setGeometry(kChartGeometry);
    m_view->raise(); // above the panels it overlaps when enlarged
}

ChartMirror::~ChartMirror() = default;

QString ChartMirror::pointLabel(int seriesNumber, int point) const {
    if (seriesNumber != 1)
        return QString();
    return m_rpmAxis->labels().value(point);
}

const QStringList& ChartMirror::rpmLabels() const {
    return m_rpmAxis->labels();
}

std::optional<ConversionError> ChartMirror::populate(const MapTable& table,
                                                     const NumberFormat& numbers) {
    std::optional<ConversionError> firstError;
    QList<QList<QPointF>> points(m_series.size());
    for (int row = 1; row <= m_profile.rpmRows; ++row) {
        for (int c = 1; c <= m_series.size(); ++c) {
            qreal value = 0;
            try {
                value = numbers.strict(table.cell(c, row));
            } catch (const ConversionError& error) {
                if (!firstError)
                    firstError = error;
            }
            points[c - 1].append(QPointF(row - 1, value));
        }
    }
    // Each line takes its points in one batch: point by point, the chart would lay every line
    // out again after each of them.
    for (int c = 0; c < m_series.size(); ++c)
        m_series.at(c)->replace(points.at(c));
    refreshTitles(table);
    m_savedGeometry = m_view->geometry();
    refreshRpmLabels(table);
    return firstError;
}

void ChartMirror::refreshValues(const MapTable& table, const NumberFormat& numbers) {
    // Rows outer, lines inner, as the points are written one by one; the new values are
    // handed to each line in one batch (a point-by-point replace costs fifty times more).
    QList<QList<qreal>> values(m_series.size());
    try {
        for (int row = 1; row <= m_profile.rpmRows; ++row) {
            for (int c = 1; c <= m_series.size(); ++c)
                values[c - 1].append(numbers.strict(table.cell(c, row)));
        }
    } catch (const ConversionError&) {
        applyValues(values);
        throw;
    }
    applyValues(values);
}

void ChartMirror::applyValues(const QList<QList<qreal>>& values) {
    for (int c = 0; c < m_series.size(); ++c) {
        QLineSeries* line = m_series.at(c);
        const QList<qreal>& newValues = values.at(c);
        if (newValues.isEmpty())
            continue;
        QList<QPointF> points = line->points();
        for (int k = 0; k < newValues.size() && k < points.size(); ++k)
            points[k].setY(newValues.at(k));
        line->replace(points);
    }
}

void ChartMirror::refreshTitles(const MapTable& table) {
    for (int c = 1; c <= m_series.size(); ++c)
        setTitle(c, table.cell(c, 0));
}

void ChartMirror::refreshRpmLabels(const MapTable& table) {
    QStringList labels;
    for (int row = 1; row <= m_profile.rpmRows; ++row)
        labels << table.cell(0, row);
    m_rpmAxis->setLabels(labels);
}

void ChartMirror::setTitle(int seriesNumber, const QString& title) {
    series(seriesNumber)->setName(title);
}

void ChartMirror::setAllValues(int seriesNumber, double value) {
    QLineSeries* line = series(seriesNumber);
    QList<QPointF> points = line->points();
    for (QPointF& point : points)
        point.setY(value);
    line->replace(points);
}

void ChartMirror::showReference(const MapTable& reference, const NumberFormat& numbers) {
    hideReference();
    for (int c = 1; c <= m_series.size(); ++c) {
        QList<QList<QPointF>> runs(1);
        for (int row = 1; row <= m_profile.rpmRows; ++row) {
            if (const auto value = numbers.parse(reference.cell(c, row)))
                runs.last().append(QPointF(row - 1, *value));
            else if (!runs.last().isEmpty())
                runs.append(QList<QPointF>());
        }
        for (const QList<QPointF>& run : std::as_const(runs)) {
            if (run.isEmpty())
                continue;
            auto* line = new QLineSeries(m_chart);
            line->setObjectName(QStringLiteral("Reference%1").arg(c));
            line->setPen(QPen(kSeriesColours[c - 1], 1, Qt::DashLine));
            line->setPointsVisible(run.size() == 1); // a lone point is no line
            line->setMarkerSize(3);
            line->append(run);
            m_chart->addSeries(line);
            line->attachAxis(m_rpmAxis->axis());
            line->attachAxis(m_valueAxis);
            for (QLegendMarker* marker : m_chart->legend()->markers(line))
                marker->setVisible(false);
            m_referenceLines << line;
        }
    }
}

void ChartMirror::hideReference() {
    for (QLineSeries* line : std::as_const(m_referenceLines)) {
        m_chart->removeSeries(line);
        delete line;
    }
    m_referenceLines.clear();
}

bool ChartMirror::toggleEnlarged() {
    if (!m_enlarged) {
        // The size comes from the window's limits, not from its current size.
        QRect enlarged = m_view->geometry();
        enlarged.moveLeft(kEnlargedLeft);
        enlarged.setHeight(m_window->minimumHeight() - m_profile.enlargedChartHeightMargin);
        enlarged.setWidth(m_window->minimumWidth() - kEnlargedWidthMargin);
        m_view->setGeometry(enlarged);
        m_enlarged = true;
    } else {
        QRect restored = m_view->geometry();
        restored.moveLeft(m_savedGeometry.left());
        restored.setHeight(m_savedGeometry.height());
        restored.setWidth(m_savedGeometry.width());
        m_view->setGeometry(restored);
        m_enlarged = false;
    }
    return m_enlarged;
}

} // namespace zerwa
