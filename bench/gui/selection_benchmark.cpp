// SPDX-License-Identifier: GPL-3.0-or-later
// Measures one full selection move in the largest program: the check of the cell that was
// left (valid, so no dialog) and the value refresh of every chart point.
#include "core/model/variantprofiles.h"
#include "gui/chart/chartmirror.h"
#include "gui/mainwindow/mapgrid.h"
#include "gui/support/formfixture.h"

#include <QTest>

using namespace zerwa;

class SelectionBenchmark : public QObject {
    Q_OBJECT

private slots:
    void selectionMoveWithValueRefresh() {
        test::FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        bool down = true;
        QBENCHMARK {
            form.StringGrid1->moveToCell({2, down ? 2 : 1});
            down = !down;
        }
        QVERIFY(fixture.prompter().records.isEmpty());
    }
};

QTEST_MAIN(SelectionBenchmark)
#include "selection_benchmark.moc"
