// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/rpmaxis.h"

#include <QCategoryAxis>
#include <QChart>
#include <QFontMetrics>
#include <QSet>

#include <cmath>

namespace zerwa {

namespace {
// Room a label needs beside its text; Qt elides a label wider than its category.
constexpr int kLabelPadding = 16;
constexpr QChar kZeroWidthSpace(0x200B);
} // namespace

RpmAxis::RpmAxis(QChart* chart, int pointCount, QObject* parent)
    : QObject(parent)
    , m_chart(chart)
    , m_axis(new QCategoryAxis(this))
    , m_pointCount(pointCount) {
    m_axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_axis->setRange(0, qMax(1, pointCount - 1));
    m_axis->setGridLineVisible(false);
    m_axis->setTruncateLabels(false); // the step keeps the drawn labels apart
    connect(chart, &QChart::plotAreaChanged, this, &RpmAxis::onPlotAreaChanged);
}

void RpmAxis::setLabels(const QStringList& labels) {
    m_labels = labels;
    // Measured once here, not at every change of the plot area.
    QFontMetrics metrics(m_axis->labelsFont());
    m_widestLabel = 0;
    for (const QString& label : m_labels)
        m_widestLabel = qMax(m_widestLabel, metrics.horizontalAdvance(label));
    m_step = stepForWidth();
    rebuild();
}

int RpmAxis::stepForWidth() const {
    qreal width = m_chart->plotArea().width();
    if (width <= 0)
        width = 200;
    const qreal perPoint = width / qMax(1, m_pointCount - 1);
    return qMax(1, int(std::ceil((m_widestLabel + kLabelPadding) / qMax<qreal>(perPoint, 1))));
}

void RpmAxis::rebuild() {
    for (const QString& label : m_axis->categoriesLabels())
        m_axis->remove(label);
    // Each label gets a category as wide as the step, the first one included.
    m_axis->setStartValue(-m_step);
    // The axis needs distinct category names; equal rpm texts get invisible suffixes.
    QSet<QString> used;
    for (int k = 0; k < m_labels.size(); k += m_step) {
        QString label = m_labels.at(k);
        while (used.contains(label))
            label += kZeroWidthSpace;
        used.insert(label);
        m_axis->append(label, k);
    }
}

void RpmAxis::onPlotAreaChanged() {
    const int step = stepForWidth();
    if (step != m_step) {
        m_step = step;
        rebuild();
    }
}

} // namespace zerwa
