#pragma once

#include "support/programtable.h"

#include <QTest>

Q_DECLARE_METATYPE(const zerwa::test::ProgramFacts*)

namespace zerwa::test {

// Table-driven window tests: one row per program, in a column named "program".
inline void addProgramRows() {
    QTest::addColumn<const ProgramFacts*>("program");
    for (const ProgramFacts& facts : programFacts())
        QTest::newRow(facts.name) << &facts;
}

} // namespace zerwa::test
