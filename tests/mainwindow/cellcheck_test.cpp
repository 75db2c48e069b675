#include "chart/chartmirror.h"
#include "mainwindow/mapgrid.h"
#include "mainwindow/maptablemodel.h"
#include "model/variantprofiles.h"
#include "support/formfixture.h"
#include "support/profilerows.h"

#include <QApplication>
#include <QLineEdit>
#include <QLineSeries>
#include <QTest>

using namespace zerwa;
using zerwa::test::FormFixture;
using Kind = zerwa::test::ScriptedPrompter::Kind;

namespace {

const QString kDataRange = QStringLiteral("Az érték 0,5 - 63,5 közötti szám!");

struct Correction {
    QString range;
    QString startText;
    friend bool operator==(const Correction&, const Correction&) = default;
    // Found by QCOMPARE for readable failures.
    friend char* toString(const Correction& c) {
        return qstrdup(QStringLiteral("[%1 | %2]").arg(c.range, c.startText).toUtf8().constData());
    }
};

QList<Correction> corrections(const test::ScriptedPrompter& prompter) {
    QList<Correction> result;
    for (const auto& record : prompter.records()) {
        if (record.kind == Kind::Correction)
            result.append({record.text, record.value});
    }
    return result;
}

} // namespace

class CellCheckTest : public QObject {
    Q_OBJECT

    // Starts a program whose remembered cell has already moved to `cell` (so the next move
    // checks that cell).
    static void selectWithoutCheck(TForm1& form, CellPos cell) {
        form.StringGrid1->placeCellSilently(cell);
        form.setRememberedCell(cell);
    }

private slots:
    void anEmptiedCellIsCorrectedUntilInRange() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        selectWithoutCheck(form, {2, 3});
        form.mapModel->setCellText(2, 3, QString());
        fixture.prompter().answerCorrection(QStringLiteral("70"));
        fixture.prompter().answerCorrection(QStringLiteral("12,5"));

        form.StringGrid1->moveToCell({3, 3});

        QCOMPARE(corrections(fixture.prompter()),
                 QList<Correction>({{kDataRange, ""}, {kDataRange, ""}}));
        QCOMPARE(form.table().cell(2, 3), QStringLiteral("12,5"));
        QCOMPARE(form.chart()->series(2)->at(2).y(), 12.5);
        QCOMPARE(form.rememberedCell(), (CellPos{3, 3}));
        QVERIFY(fixture.prompter().unexpected().isEmpty());
    }

    void everyRoundRestartsFromTheCellsText() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        selectWithoutCheck(form, {1, 1});
        form.mapModel->setCellText(1, 1, QStringLiteral("99"));
        fixture.prompter().answerCorrection(QStringLiteral("-1"));
        fixture.prompter().answerCorrection(QStringLiteral("abc"));
        fixture.prompter().answerCorrection(QStringLiteral("63,5"));
        form.StringGrid1->moveToCell({1, 2});
        QCOMPARE(corrections(fixture.prompter()),
                 QList<Correction>({{kDataRange, "99"}, {kDataRange, "99"}, {kDataRange, "99"}}));
        QCOMPARE(form.table().cell(1, 1), QStringLiteral("63,5"));
    }

    void aValidCellIsLeftAsTyped() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        selectWithoutCheck(form, {1, 2});
        form.mapModel->setCellText(1, 2, QStringLiteral("05"));
        form.mapModel->setCellText(2, 2, QStringLiteral("0,5"));
        form.StringGrid1->moveToCell({2, 2});
        form.StringGrid1->moveToCell({2, 3});
        QVERIFY(fixture.prompter().records().isEmpty());
        QCOMPARE(form.table().cell(1, 2), QStringLiteral("05"));
        QCOMPARE(form.chart()->series(1)->at(1).y(), 5.0);
    }

    void aPointIsNotADecimalSeparatorOnACommaSystem() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        selectWithoutCheck(form, {1, 2});
        form.mapModel->setCellText(1, 2, QStringLiteral("1.5"));
        fixture.prompter().answerCorrection(QStringLiteral("1,5"));
        form.StringGrid1->moveToCell({2, 2});
        QCOMPARE(corrections(fixture.prompter()), QList<Correction>({{kDataRange, "1.5"}}));
    }

    void theFirstMoveChecksTheProfilesStartCell_data() { test::addProfileRows(); }
    void theFirstMoveChecksTheProfilesStartCell() {
        QFETCH(const VariantProfile*, profile);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        const CellPos start = profile->initialRememberedCell;
        form.mapModel->setCellText(start.column, start.row, QStringLiteral("x"));
        // The user types into the selected cell (1, 1) and moves on; unless (1, 1) is the
        // start cell itself, it is not checked yet.
        if (start != CellPos{1, 1})
            form.mapModel->setCellText(1, 1, QStringLiteral("05"));
        fixture.prompter().answerCorrection(QStringLiteral("7"));
        form.StringGrid1->moveToCell({1, 2});
        QCOMPARE(corrections(fixture.prompter()), QList<Correction>({{kDataRange, "x"}}));
        QCOMPARE(form.table().cell(start.column, start.row), QStringLiteral("7"));
    }

    void rpmBoundsFollowTheProfile_data() {
        QTest::addColumn<const VariantProfile*>("profile");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        for (const VariantProfile* p : profiles::all()) {
            const QString ceiling = QString::number(p->rpmCeiling);
            const QString name = p->programName;
            QTest::newRow(qPrintable(name + " 600")) << p << "600" << true;
            QTest::newRow(qPrintable(name + " 599")) << p << "599" << false;
            QTest::newRow(qPrintable(name + " 599,99")) << p << "599,99" << false;
            QTest::newRow(qPrintable(name + " ceiling")) << p << ceiling << true;
            QTest::newRow(qPrintable(name + " above"))
                << p << QString::number(p->rpmCeiling + 1) << false;
            QTest::newRow(qPrintable(name + " empty")) << p << "" << false;
        }
        QTest::newRow("zerwa4_60 15000") << &profiles::zerwa4_60() << "15000" << false;
    }
    void rpmBoundsFollowTheProfile() {
        QFETCH(const VariantProfile*, profile);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        FormFixture fixture(*profile);
        TForm1& form = fixture.start();
        form.EditBtnClick();
        selectWithoutCheck(form, {0, 4});
        form.mapModel->setCellText(0, 4, typed);
        if (!accepted)
            fixture.prompter().answerCorrection(QStringLiteral("1000"));
        form.StringGrid1->moveToCell({0, 5});
        const QString range =
            QStringLiteral("Az érték 600 - %1 között lehet!").arg(profile->rpmCeiling);
        QCOMPARE(corrections(fixture.prompter()),
                 accepted ? QList<Correction>() : QList<Correction>({{range, typed}}));
        QCOMPARE(form.table().cell(0, 4), accepted ? typed : QStringLiteral("1000"));
        // Leaving an rpm cell relabels the rpm axis.
        QCOMPARE(form.chart()->pointLabel(1, 3), form.table().cell(0, 4));
    }

    void leavingAHeadingRetitlesItsLineWithoutACheck() {
        FormFixture fixture(profiles::zerwa8());
        TForm1& form = fixture.start();
        form.EditBtnClick();
        selectWithoutCheck(form, {3, 0});
        form.mapModel->setCellText(3, 0, QStringLiteral("4.20"));
        form.StringGrid1->moveToCell({4, 0});
        QVERIFY(fixture.prompter().records().isEmpty());
        QCOMPARE(form.chart()->series(3)->name(), QStringLiteral("4.20"));

        // The corner cell triggers both the title and the label refresh.
        form.mapModel->setCellText(2, 0, QStringLiteral("nem szám"));
        form.mapModel->setCellText(0, 1, QStringLiteral("rpm"));
        selectWithoutCheck(form, {0, 0});
        form.StringGrid1->moveToCell({1, 1});
        QCOMPARE(form.chart()->series(2)->name(), QStringLiteral("nem szám"));
        QCOMPARE(form.chart()->pointLabel(1, 0), QStringLiteral("rpm"));
    }

    void thePopupIsOffOverTheRpmColumn() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        QVERIFY(form.StringGrid1->autoPopup());
        form.EditBtnClick();
        form.StringGrid1->moveToCell({0, 2});
        QVERIFY(!form.StringGrid1->autoPopup());
        form.StringGrid1->moveToCell({0, 0});
        QVERIFY(!form.StringGrid1->autoPopup());
        form.StringGrid1->moveToCell({1, 0});
        QVERIFY(form.StringGrid1->autoPopup());
        form.StringGrid1->moveToCell({0, 3});
        form.StringGrid1->moveToCell({4, 3});
        QVERIFY(form.StringGrid1->autoPopup());
    }

    void aBadCellElsewhereDoesNotHoldTheSelection() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.mapModel->setCellText(3, 20, QStringLiteral("szöveg"));
        selectWithoutCheck(form, {1, 1});
        form.mapModel->setCellText(1, 1, QStringLiteral("9"));
        form.StringGrid1->moveToCell({1, 2});
        QCOMPARE(form.StringGrid1->currentCell(), (CellPos{1, 2}));
        QCOMPARE(form.rememberedCell(), (CellPos{1, 2}));
        QCOMPARE(fixture.prompter().errors(), QStringList({"'szöveg' nem érvényes szám."}));
        // Points before the bad cell follow; the bad cell's line keeps its old value there.
        QCOMPARE(form.chart()->series(1)->at(0).y(), 9.0);
        QCOMPARE(form.chart()->series(3)->at(19).y(), 3.0);
        // Every move reports it once, until the cell is mended.
        form.StringGrid1->moveToCell({1, 3});
        QCOMPARE(fixture.prompter().errors().size(), 2);
        form.mapModel->setCellText(3, 20, QStringLiteral("40"));
        form.StringGrid1->moveToCell({1, 4});
        QCOMPARE(fixture.prompter().errors().size(), 2);
        QCOMPARE(form.chart()->series(3)->at(19).y(), 40.0);
    }

    void hugeOrStrangeTextsAreCorrectedLikeAnyOther_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("long") << QString(5000, u'7');
        QTest::newRow("spaces") << QStringLiteral("   ");
        QTest::newRow("nan") << QStringLiteral("nan");
        QTest::newRow("huge") << QStringLiteral("1e308");
        QTest::newRow("control") << QString(QChar(0)) + QStringLiteral("5");
    }
    void hugeOrStrangeTextsAreCorrectedLikeAnyOther() {
        QFETCH(QString, text);
        FormFixture fixture(profiles::zerwa4_60());
        TForm1& form = fixture.start();
        selectWithoutCheck(form, {2, 2});
        form.mapModel->setCellText(2, 2, text);
        fixture.prompter().answerCorrection(QStringLiteral("8"));
        form.StringGrid1->moveToCell({2, 3});
        QCOMPARE(corrections(fixture.prompter()), QList<Correction>({{kDataRange, text}}));
        QCOMPARE(form.table().cell(2, 2), QStringLiteral("8"));
        QCOMPARE(form.chart()->series(2)->at(1).y(), 8.0);
    }

    void typingAndMovingWithTheKeyboard() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.StringGrid1->setFocus();
        selectWithoutCheck(form, {2, 1});
        form.StringGrid1->moveToCell({2, 1}); // opens the editor on (2, 1)
        QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        fixture.prompter().answerCorrection(QStringLiteral("12,5"));
        QTest::keyClick(editor, Qt::Key_Down);
        QCOMPARE(form.StringGrid1->currentCell(), (CellPos{2, 2}));
        QCOMPARE(corrections(fixture.prompter()), QList<Correction>({{kDataRange, ""}}));
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("12,5"));
        QCOMPARE(form.chart()->series(2)->at(0).y(), 12.5);

        // A click on another cell is a move too; a right click is not.
        form.mapModel->setCellText(2, 2, QStringLiteral("0"));
        fixture.prompter().answerCorrection(QStringLiteral("1"));
        const QRect target = form.StringGrid1->visualRect(form.mapModel->index(5, 3));
        QTest::mouseClick(form.StringGrid1->viewport(), Qt::RightButton, {}, target.center());
        QCOMPARE(form.StringGrid1->currentCell(), (CellPos{2, 2}));
        QTest::mouseClick(form.StringGrid1->viewport(), Qt::LeftButton, {}, target.center());
        QCOMPARE(form.StringGrid1->currentCell(), (CellPos{3, 5}));
        QCOMPARE(form.rememberedCell(), (CellPos{3, 5}));
        QCOMPARE(form.table().cell(2, 2), QStringLiteral("1"));
    }
};

// The open cell editor and the table never disagree: what is typed is in the table at once
// (commands that read the table see it), and a command that rewrites the cell under the
// editor is not undone when the editor closes.
class CellEditorTest : public QObject {
    Q_OBJECT

private slots:
    void typedTextIsInTheTableAtOnceAndCommandsWinOverTheEditor() {
        FormFixture fixture(profiles::zerwa4());
        TForm1& form = fixture.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.StringGrid1->setFocus();
        form.StringGrid1->moveToCell({2, 1});
        QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("33"));
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("33"));

        MapTable changed = form.table();
        changed.setCell(2, 1, QStringLiteral("44"));
        form.mapModel->setTable(changed);
        QCOMPARE(editor->text(), QStringLiteral("44"));
        QTest::keyClick(editor, Qt::Key_Down);
        QCOMPARE(form.table().cell(2, 1), QStringLiteral("44"));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CellCheckTest cellCheck;
    CellEditorTest cellEditor;
    return QTest::qExec(&cellCheck, argc, argv) | QTest::qExec(&cellEditor, argc, argv);
}
#include "cellcheck_test.moc"
