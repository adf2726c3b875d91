// The undo history's rules on a working configuration alone: what a step
// keeps and restores, the limit, the redo side, the arrival rule and the
// labels. The lighting side is tested through the window.

#include "config/MacroFixtures.h"
#include "profiles/EditHistory.h"

#include <gtest/gtest.h>

#include <set>

namespace quillmar::profiles {
namespace {

using config::assignmentRecordIndex;
using keyboard::AssignmentType;

class EditHistoryTest : public ::testing::Test {
protected:
    // One colour-key edit of a record, as the window records it.
    void toggleFlag(int recordIndex) {
        recordConfigurationEdit(history, EditKind::ColourKey, 0, working, [&] {
            auto held = working.lock();
            auto& flag = working.records()[static_cast<std::size_t>(recordIndex)].colourKeyFlag;
            flag = flag ? 0 : 1;
        });
    }

    std::uint32_t flag(int recordIndex) const { return working.records()[static_cast<std::size_t>(recordIndex)].colourKeyFlag; }

    const EditStep* undo() { return history.undo({working}); }
    const EditStep* redo() { return history.redo({working}); }

    config::ConfigStore working;
    EditHistory history;
};

TEST_F(EditHistoryTest, UndoAndRedoRestoreRecordsTextsAndMacrosOfAnEdit) {
    config::testing::storeMacros(working, {1, 2});
    const std::uint64_t before = configurationDigest(working);
    recordConfigurationEdit(history, EditKind::KeyAssignment, 0, working, [&] {
        auto held = working.lock();
        config::MacroList macros = config::testing::savedMacros({1, 2, 3});
        config::appendMacroAction(macros[0], {10, 0x1E, config::KeyDirection::Press});
        working.replaceMacros(std::move(macros));
        config::testing::assignMacro(working, assignmentRecordIndex(1, 30), 3);
        working.records()[0].type = AssignmentType::LaunchProgram;
        working.texts().setText(0, u"/usr/bin/true");
    });
    const std::uint64_t after = configurationDigest(working);
    ASSERT_NE(before, after);
    ASSERT_TRUE(history.canUndo());
    EXPECT_TRUE(history.nextUndo()->configuration.reachesBeyond(0));

    ASSERT_NE(undo(), nullptr);
    EXPECT_EQ(configurationDigest(working), before);
    EXPECT_EQ(working.macroCount(), 2);
    EXPECT_FALSE(working.texts().text(0).has_value());
    ASSERT_NE(redo(), nullptr);
    EXPECT_EQ(configurationDigest(working), after);
    EXPECT_EQ(working.texts().text(0), std::u16string_view(u"/usr/bin/true"));
    EXPECT_EQ(working.macros()[0].actionCount, 1);
}

TEST_F(EditHistoryTest, AnEditThatChangedNothingMakesNoStep) {
    recordConfigurationEdit(history, EditKind::KeyAssignment, 0, working, [] {});
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(undo(), nullptr);
}

TEST_F(EditHistoryTest, KeepsTheNewestHundredStepsAndDropsTheOldest) {
    constexpr int kEdits = 105;
    for (int i = 0; i < kEdits; ++i) toggleFlag(i);
    EXPECT_EQ(history.size(), kEditHistoryLimit);
    int undone = 0;
    while (undo()) ++undone;
    EXPECT_EQ(undone, 100);
    // The five oldest edits can no longer be undone; the others are.
    for (int i = 0; i < kEdits; ++i) EXPECT_EQ(flag(i), i < kEdits - 100 ? 1u : 0u) << i;
    while (redo()) {}
    for (int i = 0; i < kEdits; ++i) EXPECT_EQ(flag(i), 1u) << i;
}

TEST_F(EditHistoryTest, ANewEditDropsTheUndoneSteps) {
    toggleFlag(1);
    toggleFlag(2);
    undo();
    ASSERT_TRUE(history.canRedo());
    toggleFlag(3);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(redo(), nullptr);
    undo();
    undo();
    EXPECT_EQ(flag(1), 0u);
    EXPECT_EQ(flag(2), 0u);
    EXPECT_EQ(flag(3), 0u);
    EXPECT_FALSE(history.canUndo());
}

TEST_F(EditHistoryTest, EditsOfAGroupAreOneStepOfTheGroupsKind) {
    history.beginGroup(EditKind::RestoreDefaults, 0);
    toggleFlag(1);
    toggleFlag(2);
    history.endGroup();
    EXPECT_EQ(history.size(), 1u);
    EXPECT_EQ(history.nextUndo()->kind, EditKind::RestoreDefaults);
    undo();
    EXPECT_EQ(flag(1), 0u);
    EXPECT_EQ(flag(2), 0u);
}

TEST_F(EditHistoryTest, AnArrivalWithAnotherConfigurationClearsTheHistory) {
    toggleFlag(1);
    toggleFlag(2);
    undo();
    // The same keyboard returns unchanged: both sides stay.
    history.setConfiguration(configurationDigest(working));
    EXPECT_TRUE(history.keepFor(configurationDigest(working)));
    EXPECT_TRUE(history.canUndo());
    EXPECT_TRUE(history.canRedo());
    // One whose configuration differs.
    history.setConfiguration(configurationDigest(working));
    working.records()[7].type = AssignmentType::Disabled;
    EXPECT_FALSE(history.keepFor(configurationDigest(working)));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
}

TEST_F(EditHistoryTest, LabelsNameTheNextUndoAndRedo) {
    const text::BuiltInTexts texts;
    EXPECT_EQ(history.undoLabel(texts), u"Nothing to undo");
    EXPECT_EQ(history.redoLabel(texts), u"Nothing to redo");
    const struct {
        EditKind kind;
        std::u16string undo;
    } cases[] = {
        {EditKind::KeyAssignment, u"Undo key assignment"}, {EditKind::ColourKey, u"Undo colour key"},
        {EditKind::RestoreDefaults, u"Undo restore defaults"}, {EditKind::Import, u"Undo import"},
        {EditKind::Lighting, u"Undo lighting setting"}, {EditKind::KeyColour, u"Undo key colour"},
        {EditKind::ColourScheme, u"Undo colour scheme"},
    };
    int record = 0;
    for (const auto& expected : cases) {
        recordConfigurationEdit(history, expected.kind, 0, working, [&] { working.records()[record++].value = 1; });
        EXPECT_EQ(history.undoLabel(texts), expected.undo);
    }
    undo();
    EXPECT_EQ(history.undoLabel(texts), u"Undo key colour");
    EXPECT_EQ(history.redoLabel(texts), u"Redo colour scheme");
}

// A hundred macros of 2000 actions are 1.6 MB a copy: steps keep each macro
// version once, however many steps hold it.
TEST_F(EditHistoryTest, StepsShareTheMacrosTheyHaveInCommon) {
    config::MacroList macros;
    for (std::uint16_t id = 1; id <= config::kMaxMacros; ++id) {
        config::MacroRecord macro = config::testing::savedMacro(id);
        for (int i = 0; i < config::kMaxMacroActions; ++i) config::appendMacroAction(macro, {10, 0x1E, config::KeyDirection::Press});
        macros.push_back(macro);
    }
    working.replaceMacros(std::move(macros));
    constexpr int kEdits = 30;
    for (int edit = 0; edit < kEdits; ++edit) {
        recordConfigurationEdit(history, EditKind::KeyAssignment, 0, working, [&] {
            auto held = working.lock();
            config::MacroList changed = working.macros();
            changed[static_cast<std::size_t>(edit)].loopCount = 9;
            working.replaceMacros(std::move(changed));
        });
    }
    std::set<const void*> held;
    for (const EditStep* step = history.nextUndo(); step; step = history.nextUndo()) {
        for (const PackedMacro& macro : step->configuration.macrosAfter()) held.insert(macro.get());
        undo();
    }
    // Each macro once, and each edited version once.
    EXPECT_LE(held.size(), static_cast<std::size_t>(config::kMaxMacros + kEdits));
    EXPECT_EQ(working.macros()[50].loopCount, 1);
}

}  // namespace
}  // namespace quillmar::profiles
