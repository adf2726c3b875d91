#include "config/CompositeSession.h"

#include "MacroFixtures.h"
#include "config/AssignmentBlock.h"
#include "keyboard/KeyMessage.h"
#include "keyboard/KeySelectionList.h"
#include "support/AnsweringPrompt.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace quillmar::config {
namespace {

using keyboard::AssignmentType;
using keyboard::KeyAssignment;
using keyboard::keyMessageOfKeyEvent;
using testing::assignMacro;
using testing::storeMacros;

using ScriptedPrompt = quillmar::testing::AnsweringPrompt;

constexpr int kSlotA = 0x1E;
constexpr int kProfile = 1;

keyboard::KeyMessage press(keyboard::KeyCode code) { return keyMessageOfKeyEvent(code, false, false); }
keyboard::KeyMessage repeat(keyboard::KeyCode code) { return keyMessageOfKeyEvent(code, false, true); }
keyboard::KeyMessage release(keyboard::KeyCode code) { return keyMessageOfKeyEvent(code, true, false); }

class CompositeSessionTest : public ::testing::Test {
protected:
    KeyAssignment& record(int profile, int slot) {
        return store.records()[static_cast<std::size_t>(assignmentRecordIndex(profile, slot))];
    }
    void give(int slot, AssignmentType type, std::uint32_t value) {
        record(kProfile, slot).type = type;
        record(kProfile, slot).value = value;
    }
    void openOn(int slot, bool g9 = false) { session.open(kProfile, slot, g9, recordDelays); }
    std::vector<MacroAction> recordTyping(std::initializer_list<std::pair<keyboard::KeyMessage, int>> events) {
        for (const auto& [message, afterMs] : events) {
            clock.advance(static_cast<std::uint64_t>(afterMs));
            session.recordKey(message);
        }
        return session.actions();
    }

    ConfigStore store;
    text::BuiltInTexts texts;
    ScriptedPrompt prompt;
    platform::FakeClock clock;
    bool recordDelays = true;
    CompositeSession session{store, texts, prompt, clock};
};

TEST_F(CompositeSessionTest, OpensOnTheTabOfTheRecord) {
    storeMacros(store, {3, 7});
    struct Case {
        AssignmentType type;
        std::uint32_t value;
        int shownTab;
    } cases[] = {
        {AssignmentType::Media, 5, kTabMedia},     {AssignmentType::Function, 9, kTabFunction},
        {AssignmentType::PlayMacro, 7, kTabMacro}, {AssignmentType::Key, 0x30, kTabKey},
        {AssignmentType::Default, 0, kTabKey},     {AssignmentType::LaunchProgram, 4, kTabKey},
    };
    for (const Case& c : cases) {
        give(kSlotA, c.type, c.value);
        openOn(kSlotA);
        EXPECT_EQ(session.shownTab(), c.shownTab) << static_cast<int>(c.type);
        EXPECT_FALSE(session.changed());
    }
    give(kSlotA, AssignmentType::Media, 5);
    openOn(kSlotA);
    EXPECT_EQ(session.mediaSelection(), 5);
    give(kSlotA, AssignmentType::PlayMacro, 7);
    openOn(kSlotA);
    EXPECT_EQ(session.currentMacro(), 1);
    give(kSlotA, AssignmentType::Key, 0x30);
    openOn(kSlotA);
    EXPECT_EQ(session.capturedKey(), 0x30);
    EXPECT_TRUE(session.isCapturing());
}

TEST_F(CompositeSessionTest, G9PlaysOnlyMacros) {
    storeMacros(store, {1});
    openOn(0x108, true);
    EXPECT_EQ(session.shownTab(), kTabMacro);
    for (int tab : {kTabKey, kTabMedia, kTabFunction}) EXPECT_FALSE(session.clickTab(tab));
    session.clear();
    EXPECT_EQ(session.storedTab(), kTabMacro);
    EXPECT_FALSE(session.isCapturing());
}

TEST_F(CompositeSessionTest, KeyCaptureTakesFreshPressesAndLetsMediaKeysPass) {
    openOn(kSlotA);
    EXPECT_EQ(session.captureKey(press(0x30)), KeyHandling::Swallow);
    EXPECT_EQ(session.capturedKey(), 0x30);
    EXPECT_TRUE(session.changed());
    // A repeat and a release are no fresh presses: the capture stays on B.
    EXPECT_EQ(session.captureKey(repeat(0x2E)), KeyHandling::Swallow);
    EXPECT_EQ(session.captureKey(release(0x30)), KeyHandling::Swallow);
    EXPECT_EQ(session.capturedKey(), 0x30);
    EXPECT_EQ(session.captureKey(press(0x120)), KeyHandling::Pass);  // Mute
    EXPECT_EQ(session.capturedKey(), 0x30);
    EXPECT_EQ(session.captureKey(release(0x137)), KeyHandling::Swallow);
    EXPECT_EQ(session.capturedKey(), 0x137);
    EXPECT_EQ(session.captureKey(press(0x15B)), KeyHandling::Swallow);
    EXPECT_EQ(session.capturedKey(), 0x15B);
}

TEST_F(CompositeSessionTest, ApplyWritesTheRecordOfEachTab) {
    storeMacros(store, {4, 9});
    openOn(kSlotA);
    session.captureKey(press(0x30));
    EXPECT_EQ(session.apply().record.type, AssignmentType::Key);
    EXPECT_EQ(record(kProfile, kSlotA).value, 0x30u);
    EXPECT_FALSE(session.changed());

    session.captureKey(press(0x1E));  // the key's own key
    EXPECT_EQ(session.apply().record.type, AssignmentType::Default);
    EXPECT_EQ(record(kProfile, kSlotA).value, 0u);

    session.clickTab(kTabMedia);
    session.selectMedia(7);
    session.apply();
    EXPECT_EQ(record(kProfile, kSlotA).type, AssignmentType::Media);
    EXPECT_EQ(record(kProfile, kSlotA).value, 7u);

    session.clickTab(kTabFunction);
    session.selectFunction(10);
    session.apply();
    EXPECT_EQ(record(kProfile, kSlotA).type, AssignmentType::Function);
    EXPECT_EQ(record(kProfile, kSlotA).value, 10u);

    session.clickTab(kTabMacro);
    session.selectMacro(1);
    EXPECT_EQ(session.setLoopCountText("3"), "3");
    session.apply();
    EXPECT_EQ(record(kProfile, kSlotA).type, AssignmentType::PlayMacro);
    EXPECT_EQ(record(kProfile, kSlotA).value, 9u);
    EXPECT_EQ(record(kProfile, kSlotA).extra, 3);
    EXPECT_EQ(record(0, kSlotA).type, AssignmentType::Default) << "only the current profile changes";
}

TEST_F(CompositeSessionTest, ARecordNoTabEditsKeepsItsValueAndTextThroughMacroEdits) {
    const int index = assignmentRecordIndex(kProfile, kSlotA);
    give(kSlotA, AssignmentType::LaunchProgram, 7);
    store.texts().setText(index, u"/usr/bin/calc");
    openOn(kSlotA);
    session.addMacro();
    session.apply();
    EXPECT_EQ(record(kProfile, kSlotA).type, AssignmentType::LaunchProgram);
    EXPECT_EQ(record(kProfile, kSlotA).value, 7u);
    EXPECT_TRUE(store.texts().text(index).has_value());
    EXPECT_EQ(store.macros().size(), 1u);

    session.clickTab(kTabMedia);
    session.apply();
    EXPECT_EQ(record(kProfile, kSlotA).type, AssignmentType::Media);
    EXPECT_FALSE(store.texts().text(index).has_value());
}

TEST_F(CompositeSessionTest, GKeySlotsKeepTheirGKeyCode) {
    openOn(0x10B);
    session.captureKey(press(0x30));
    EXPECT_EQ(session.apply().record.extra, 0x1303);
}

TEST_F(CompositeSessionTest, ClearThenApplyOnAMacroKeyStoresDefault) {
    storeMacros(store, {2});
    give(kSlotA, AssignmentType::PlayMacro, 2);
    openOn(kSlotA);
    session.clear();
    EXPECT_EQ(session.storedTab(), kTabDefault);
    EXPECT_EQ(session.shownTab(), kTabKey);
    const KeyAssignment written = session.apply().record;
    EXPECT_EQ(written.type, AssignmentType::Default);
    EXPECT_EQ(written.value, 0u);
}

TEST_F(CompositeSessionTest, MacroTabWithAnEmptyListStoresDefault) {
    openOn(kSlotA);
    session.clickTab(kTabMacro);
    EXPECT_EQ(session.apply().record.type, AssignmentType::Default);
}

TEST_F(CompositeSessionTest, LoopCountFieldIsClamped) {
    storeMacros(store, {1});
    openOn(kSlotA);
    session.clickTab(kTabMacro);
    struct Case {
        std::string typed, shown;
        int count;
    } cases[] = {{"42", "42", 42}, {"300", "255", 255}, {"0", "1", 1},          {"-7", "1", 1},
                 {"", "", 1},      {"abc", "1", 1},     {"99999999999999999999", "255", 255}};
    for (const Case& c : cases) {
        EXPECT_EQ(session.setLoopCountText(c.typed), c.shown) << c.typed;
        EXPECT_EQ(session.loopCount(), c.count) << c.typed;
    }
}

TEST_F(CompositeSessionTest, DelaysAreRoundedAndLimited) {
    storeMacros(store, {1});
    openOn(kSlotA);
    session.clickTab(kTabMacro);
    session.insertRecordedAction({0, 0x1E, KeyDirection::Press});
    EXPECT_EQ(session.setRowDelay(0, 12345), 12340u);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(session.setRowDelay(0, 50000), 40000u);
    EXPECT_EQ(prompt.shown, std::vector<std::u16string>{u"Maximum delay time is: 40000(ms) "});
    EXPECT_EQ(session.actions()[0].delayMs, 40000u);
}

TEST_F(CompositeSessionTest, NewMacroNamesSkipNamesThatAListEntryBeginsWith) {
    MacroList list = testing::savedMacros({1});
    setMacroName(list[0], u"macro12");
    store.replaceMacros(std::move(list));
    openOn(kSlotA);
    session.clickTab(kTabMacro);
    ASSERT_TRUE(session.addMacro());
    EXPECT_EQ(macroName(session.macros().back()), u"Macro2");
    EXPECT_EQ(session.macros().back().id, 2);
    EXPECT_EQ(session.currentMacro(), 1);
}

TEST_F(CompositeSessionTest, TheHundredthMacroIsTheLast) {
    MacroList list;
    for (std::uint16_t id = 1; id <= 100; ++id) list.push_back(testing::savedMacro(id));
    store.replaceMacros(std::move(list));
    openOn(kSlotA);
    EXPECT_FALSE(session.addMacro());
    EXPECT_EQ(prompt.shown, std::vector<std::u16string>{u"The maximum number of macro: 100   "});
}

TEST_F(CompositeSessionTest, TypingNamesTheCurrentMacroOrCreatesTheFirst) {
    openOn(kSlotA);
    session.clickTab(kTabMacro);
    session.typeMacroName(std::u16string(300, u'x'));
    ASSERT_EQ(session.macros().size(), 1u);
    EXPECT_EQ(macroName(session.macros()[0]).size(), 249u);
    EXPECT_EQ(session.currentMacro(), 0);
    session.typeMacroName(u"Jump");
    EXPECT_EQ(macroName(session.macros()[0]), u"Jump");
    session.apply();
    EXPECT_EQ(macroName(store.macros().at(0)), u"Jump");
    EXPECT_EQ(record(kProfile, kSlotA).type, AssignmentType::PlayMacro);

    // Opened on a key of another type: the macro tab shows no macro yet, and
    // typing names the first.
    storeMacros(store, {4, 5});
    give(kSlotA, AssignmentType::Key, 0x30);
    openOn(kSlotA);
    session.clickTab(kTabMacro);
    ASSERT_EQ(session.currentMacro(), -1);
    session.typeMacroName(u"Run");
    EXPECT_EQ(session.currentMacro(), 0);
    EXPECT_EQ(macroName(session.macros()[0]), u"Run");
}

TEST_F(CompositeSessionTest, DeletingAPlayedMacroAsksAndResetsItsKeysEverywhere) {
    storeMacros(store, {1, 2, 3});
    assignMacro(store, assignmentRecordIndex(0, 0x30), 2);
    openOn(kSlotA);
    session.clickTab(kTabMacro);
    session.selectMacro(1);
    EXPECT_FALSE(session.deleteMacro());
    EXPECT_EQ(session.macros().size(), 3u);
    prompt.answers = {true};
    EXPECT_TRUE(session.deleteMacro());
    EXPECT_EQ(session.currentMacro(), 0);
    const CompositeApplyResult result = session.apply();
    EXPECT_EQ(result.resetRecords, std::vector<int>{assignmentRecordIndex(0, 0x30)});
    EXPECT_TRUE(result.otherProfilesChanged);
    EXPECT_EQ(record(0, 0x30).type, AssignmentType::Default);
}

TEST_F(CompositeSessionTest, OtherProfilesNeedTheirKeysWhenThePositionOfTheirMacroMoves) {
    struct Case {
        const char* what;
        std::uint32_t playedElsewhere;
        int deleted;
        bool allProfiles;
    } cases[] = {
        {"a macro before the played one goes", 3, 0, true},
        {"a macro after the played one goes", 1, 2, false},
        {"the played macro stays first", 1, 1, false},
    };
    for (const Case& c : cases) {
        ConfigStore fresh;
        storeMacros(fresh, {1, 2, 3});
        assignMacro(fresh, assignmentRecordIndex(2, 0x20), c.playedElsewhere);
        CompositeSession edit(fresh, texts, prompt, clock);
        edit.open(kProfile, kSlotA, false, false);
        edit.clickTab(kTabMacro);
        edit.selectMacro(c.deleted);
        edit.selectMacro(c.deleted);
        ASSERT_TRUE(edit.deleteMacro()) << c.what;
        edit.clear();
        EXPECT_EQ(edit.apply().otherProfilesChanged, c.allProfiles) << c.what;
    }
}

TEST_F(CompositeSessionTest, ActionRowsMove) {
    storeMacros(store, {1});
    openOn(kSlotA);
    session.clickTab(kTabMacro);
    for (keyboard::KeyCode code : {0x10, 0x11, 0x12, 0x13}) session.insertRecordedAction({0, code, KeyDirection::Press});
    const auto codes = [&] {
        std::vector<int> out;
        for (const MacroAction& a : session.actions()) out.push_back(a.keyCode);
        return out;
    };
    session.selectRow(2);
    session.moveRow(RowMove::ToTop);
    EXPECT_EQ(codes(), (std::vector<int>{0x12, 0x10, 0x11, 0x13}));
    session.moveRow(RowMove::Up);
    EXPECT_EQ(session.selectedRow(), 0);
    session.moveRow(RowMove::ToBottom);
    EXPECT_EQ(codes(), (std::vector<int>{0x10, 0x11, 0x13, 0x12}));
    session.moveRow(RowMove::Down);
    EXPECT_EQ(session.selectedRow(), 3);
    session.deleteRow();
    EXPECT_EQ(codes(), (std::vector<int>{0x10, 0x11, 0x13}));
    session.setRowKey(0, keyboard::listPositionOf(0x1E));
    session.setRowDirection(0, KeyDirection::Release);
    EXPECT_EQ(session.actions()[0].keyCode, 0x1E);
    EXPECT_EQ(session.actions()[0].direction, KeyDirection::Release);
    EXPECT_FALSE(session.clearRows()) << "the question was answered No";
    prompt.answers = {true};
    EXPECT_TRUE(session.clearRows());
    EXPECT_TRUE(session.actions().empty());
}

// ---- Recording ----------------------------------------------------------

class RecordingTest : public CompositeSessionTest {
protected:
    void SetUp() override {
        storeMacros(store, {1});
        openOn(kSlotA);
        session.clickTab(kTabMacro);
        ASSERT_EQ(session.currentMacro(), 0);
        clock.set(1000);
    }
    static std::vector<std::pair<int, std::uint32_t>> keysAndDelays(const std::vector<MacroAction>& actions) {
        std::vector<std::pair<int, std::uint32_t>> out;
        for (const MacroAction& a : actions)
            out.emplace_back(a.direction == KeyDirection::Press ? a.keyCode : -a.keyCode, a.delayMs);
        return out;
    }
};

TEST_F(RecordingTest, EachDelayIsThePauseAfterItsAction) {
    ASSERT_TRUE(session.toggleRecording());
    const auto actions = recordTyping({{press(0x1E), 500}, {release(0x1E), 80}, {press(0x30), 120}, {release(0x30), 60}});
    EXPECT_EQ(keysAndDelays(actions),
              (std::vector<std::pair<int, std::uint32_t>>{{0x1E, 80}, {-0x1E, 120}, {0x30, 60}, {-0x30, 0}}));
}

TEST_F(RecordingTest, AHeldKeyIsOnePressAndOneRelease) {
    session.toggleRecording();
    const auto actions = recordTyping(
        {{press(0x1E), 10}, {repeat(0x1E), 500}, {repeat(0x1E), 30}, {repeat(0x1E), 30}, {release(0x1E), 40}});
    EXPECT_EQ(keysAndDelays(actions), (std::vector<std::pair<int, std::uint32_t>>{{0x1E, 600}, {-0x1E, 0}}));
}

TEST_F(RecordingTest, WithoutDelaysEveryDelayIsZeroAndMediaKeysPass) {
    session.setRecordDelays(false);
    session.toggleRecording();
    EXPECT_EQ(session.recordKey(press(0x120)), KeyHandling::Pass);
    const auto actions = recordTyping({{press(0x137), 100}, {release(0x137), 100}, {press(0x15B), 100}});
    EXPECT_EQ(keysAndDelays(actions),
              (std::vector<std::pair<int, std::uint32_t>>{{0x137, 0}, {-0x137, 0}, {0x15B, 0}}));
}

TEST_F(RecordingTest, ActionsGoInAfterTheSelectedMiddleRowInTypingOrder) {
    for (keyboard::KeyCode code : {0x10, 0x11, 0x12}) session.insertRecordedAction({0, code, KeyDirection::Press});
    session.setRowDelay(1, 300);
    session.selectRow(1);
    session.toggleRecording();
    const auto actions = recordTyping({{press(0x1E), 50}, {press(0x30), 70}});
    EXPECT_EQ(keysAndDelays(actions), (std::vector<std::pair<int, std::uint32_t>>{
                                          {0x10, 0}, {0x11, 50}, {0x1E, 70}, {0x30, 300}, {0x12, 0}}));
}

TEST_F(RecordingTest, TheTwoThousandAndFirstActionIsNotRecorded) {
    session.toggleRecording();
    for (int i = 0; i < 1000; ++i) recordTyping({{press(0x1E), 10}, {release(0x1E), 10}});
    ASSERT_EQ(session.actions().size(), 2000u);
    EXPECT_EQ(session.recordKey(press(0x30)), KeyHandling::Swallow);
    EXPECT_EQ(session.actions().size(), 2000u);
    EXPECT_EQ(session.actions().back().keyCode, 0x1E);
    session.apply();
    EXPECT_EQ(store.macros().at(0).actionCount, 2000);
}

TEST_F(RecordingTest, NeedsAShownMacroAndStopsOnApply) {
    ConfigStore empty;
    CompositeSession fresh(empty, texts, prompt, clock);
    fresh.open(kProfile, kSlotA, false, true);
    fresh.clickTab(kTabMacro);
    EXPECT_FALSE(fresh.toggleRecording());
    session.toggleRecording();
    EXPECT_FALSE(session.addMacro());
    session.apply();
    EXPECT_FALSE(session.isRecording());
}

}  // namespace
}  // namespace quillmar::config
