#pragma once

#include "storage/maplayout.h"

#include <QTest>

namespace zerwa::test {

// Table-driven window tests: one row per program, its index into programLayouts() in
// "layoutIndex".
inline void addLayoutRows() {
    QTest::addColumn<int>("layoutIndex");
    for (int i = 0; i < programLayouts().size(); ++i)
        QTest::newRow(programLayouts().at(i).program) << i;
}

} // namespace zerwa::test
