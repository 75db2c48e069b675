#pragma once

#include "model/variantprofiles.h"

#include <QLineSeries>
#include <QList>
#include <QTest>

Q_DECLARE_METATYPE(const zerwa::VariantProfile*)

namespace zerwa::test {

// Table-driven window tests: one row per program, in a column named "profile".
inline void addProfileRows() {
    QTest::addColumn<const VariantProfile*>("profile");
    for (const VariantProfile* profile : profiles::all())
        QTest::newRow(qPrintable(profile->programName)) << profile;
}

// The Y values of a chart line, point 0 first.
inline QList<qreal> yValues(const QLineSeries* series) {
    QList<qreal> values;
    for (const QPointF& point : series->points())
        values << point.y();
    return values;
}

} // namespace zerwa::test
