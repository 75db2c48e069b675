// SPDX-License-Identifier: GPL-3.0-or-later
// The map's edit history, without a window: every kind of edit is one step, undone and redone
// to the exact texts; loads and resets start afresh; the history keeps a thousand steps.
#include "core/link/downloadframe.h"
#include "core/model/variantprofiles.h"
#include "core/support/gtestqt.h"
#include "document/model/chartsink.h"
#include "document/session/mapsession.h"
#include "document/support/sessionfixture.h"

#include <gtest/gtest.h>

using namespace zerwa;

namespace {

class Bench : public test::SessionFixture {
public:
    explicit Bench(const VariantProfile& profile)
        : SessionFixture(profile)
        , session(std::make_unique<MapSession>(context(), chart)) {
        session->startUp();
    }
    MapDocument& doc() { return session->document(); }
    // Everything an undo must give back.
    struct State {
        MapTable table;
        SettingsBlock settings;
        bool download;
        friend bool operator==(const State&, const State&) = default;
    };
    State state() { return {doc().table(), doc().settings(), doc().downloadEnabled()}; }
    // The state and history length before the action a test undoes.
    void begin() {
        doc().closeEdit();
        before = state();
        stepsBefore = doc().history().count();
    }

    NoChart chart;
    std::unique_ptr<MapSession> session;
    State before;
    int stepsBefore = 0;
};

void typeInto(Bench& b, CellPos cell, const QStringList& keystrokes) {
    for (const QString& text : keystrokes)
        b.doc().typeCell(cell, text);
}

const SettingsBlock kValidSettings{"4", "9000", "1,5", "3", "Lefutó", "Felfutó"};

// One user action, after `Bench::begin()`; what comes before it sets the scene.
struct StepCase {
    const char* name;
    const VariantProfile& profile;
    std::function<void(Bench&)> run;
};

void PrintTo(const StepCase& c, std::ostream* out) {
    *out << c.name;
}

class OneStep : public testing::TestWithParam<StepCase> {};

TEST_P(OneStep, IsUndoneAndRedoneToTheExactTexts) {
    Bench bench(GetParam().profile);
    GetParam().run(bench);
    const Bench::State after = bench.state();
    ASSERT_NE(after, bench.before);
    EXPECT_EQ(bench.doc().history().count(), bench.stepsBefore + 1);
    EXPECT_EQ(bench.prompter().unexpected, QStringList());
    bench.session->undo();
    EXPECT_EQ(bench.state(), bench.before);
    bench.session->redo();
    EXPECT_EQ(bench.state(), after);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryKind, OneStep, testing::Values(
    StepCase{"typing and its correction", profiles::zerwa8(), [](Bench& b) {
        b.begin(); typeInto(b, {2, 1}, {"7", "70"});
        b.prompter().corrections.push_back("05"); b.session->selectionMoving({3, 1}); }},
    StepCase{"an rpm cell in axis-edit mode", profiles::zerwa4(), [](Bench& b) {
        b.doc().setAxisEditMode(true); b.doc().setRememberedCell({0, 3});
        b.begin(); typeInto(b, {0, 3}, {"1", "12", "120"});
        b.prompter().corrections.push_back("12000"); b.session->selectionMoving({1, 3}); }},
    StepCase{"a heading", profiles::zerwa4(), [](Bench& b) {
        b.begin(); typeInto(b, {2, 0}, {"4", "4.", "4.2"}); }},
    StepCase{"+ 8", profiles::zerwa4(), [](Bench& b) { b.begin(); b.session->stepColumn(8); }},
    StepCase{"- 0,5", profiles::zerwa4_60(), [](Bench& b) { b.begin(); b.session->stepColumn(-0.5); }},
    StepCase{"+ 1 stopping half-way at a text", profiles::zerwa8(), [](Bench& b) {
        typeInto(b, {2, 5}, {"abc"}); b.doc().setRememberedCell({2, 1});
        b.begin(); b.session->stepColumn(1); }},
    StepCase{"typing a paste interrupts", profiles::zerwa8(), [](Bench& b) {
        b.begin(); typeInto(b, {2, 5}, {"2a"}); b.session->paste("33\t7", {2, 5}); }},
    StepCase{"typing + 1 interrupts, stopping at it", profiles::zerwa8(), [](Bench& b) {
        b.doc().setRememberedCell({2, 5}); b.begin(); typeInto(b, {2, 5}, {"x"}); b.session->stepColumn(1); }},
    StepCase{"typing a slope fill interrupts", profiles::zerwa4_60(), [](Bench& b) {
        b.doc().setRememberedCell({2, 10}); b.begin(); typeInto(b, {2, 10}, {"20"});
        b.prompter().slopeFills.push_back(SlopeFillEntries{"1,5", "4"}); b.session->slopeFill(); }},
    StepCase{"texts of 70 000 characters", profiles::zerwa8(), [](Bench& b) {
        MapTable t = b.doc().table(); t.setCell(1, 0, QString(70000, u'a')); t.setCell(1, 1, "12,5");
        t.setCell(2, 1, QString(70000, u'0') + "13"); b.begin(); b.doc().changeTable(t, "table"); EXPECT_EQ(b.doc().table(), t); }},
    StepCase{"clear", profiles::zerwa8(), [](Bench& b) {
        b.doc().replaceSettings(kValidSettings); b.doc().setDownloadEnabled(true);
        typeInto(b, {3, 4}, {"17"}); typeInto(b, {0, 4}, {"999"});
        b.begin(); b.prompter().yesNo.push_back(true); b.session->clear(); }},
    StepCase{"clear with the axes", profiles::zerwa4(), [](Bench& b) {
        b.doc().setAxisEditMode(true); typeInto(b, {0, 4}, {"999"}); typeInto(b, {1, 0}, {"x"});
        b.begin(); b.prompter().yesNo.push_back(true); b.session->clear(); }},
    StepCase{"slope fill", profiles::zerwa4_60(), [](Bench& b) {
        typeInto(b, {2, 10}, {"20"}); b.doc().setRememberedCell({2, 10});
        b.begin(); b.prompter().slopeFills.push_back(SlopeFillEntries{"1,5", "4"}); b.session->slopeFill(); }},
    StepCase{"a settings field and its check", profiles::zerwa4(), [](Bench& b) {
        b.doc().replaceSettings(kValidSettings);
        b.begin(); b.doc().typeSetting(SettingField::Opening, "5");
        b.doc().typeSetting(SettingField::Closing, ""); // the message first, the replacement after it:
        b.prompter().onRecord = [&b] { EXPECT_EQ(b.doc().settings().opening, "5"); };
        b.session->leaveSetting(SettingField::Opening); EXPECT_EQ(b.doc().settings().opening, "2"); }},
    StepCase{"a drop-down list", profiles::zerwa4_60(), [](Bench& b) {
        b.begin(); b.doc().chooseSetting(SettingField::Cylinders, "6"); }}));
// clang-format on

// An undo in the break is what the device gets; one inside a question ends the open edit first.
TEST(MapHistory, UndoAtAwkwardMomentsKeepsEverythingInStep) {
    Bench bench(profiles::zerwa4());
    bench.doc().replaceSettings(kValidSettings);
    const Bench::State initial = bench.state();
    typeInto(bench, {2, 1}, {"9"});
    bench.session->startDownload();
    bench.session->undo();
    bench.session->downloadTick();
    EXPECT_EQ(bench.serial().written(), downloadframe::wireImage(EncodeDownloadFrame(
                                            bench.session->profile(), initial.table,
                                            initial.settings, bench.session->numbers())));
    typeInto(bench, {2, 1}, {"70"});
    bench.prompter().onRecord = [&] { bench.session->undo(); };
    bench.prompter().corrections.push_back("7");
    bench.session->selectionMoving({3, 1});
    EXPECT_EQ(bench.doc().table().cell(2, 1), "7");
    bench.doc().setAxisEditMode(true); // an edit made outside axis-edit mode, undone in it
    bench.session->undo();
    EXPECT_EQ(bench.state(), initial);
}

TEST(MapHistory, LoadAndResetStartAFreshHistoryASaveKeepsIt) {
    Bench bench(profiles::zerwa4());
    MapDocument& doc = bench.doc();
    typeInto(bench, {1, 1}, {"9"});
    bench.prompter().saveFiles.push_back(bench.pathOf("m.qmt"));
    bench.session->save();
    EXPECT_TRUE(doc.history().canUndo());
    ASSERT_TRUE(bench.session->readMapFile(bench.pathOf("m.qmt")));
    EXPECT_FALSE(doc.history().canUndo());
    typeInto(bench, {1, 1}, {"8"});
    doc.resetMap(ResetScope::WithAxes);
    EXPECT_FALSE(doc.history().canUndo());
}

TEST(MapHistory, KeepsAtMostAThousandSteps) {
    Bench bench(profiles::zerwa8());
    for (int i = 0; i < 1005; ++i)
        bench.session->stepColumn(i % 2 ? 0.5 : -0.5);
    EXPECT_EQ(bench.doc().history().count(), 1000);
}

} // namespace
