#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "config/MacroCommit.h"
#include "config/MacroFixtures.h"

namespace quillmar::config {
namespace {

using keyboard::AssignmentType;
using keyboard::KeyAssignment;
using testing::assignMacro;
using testing::savedMacro;
using testing::savedMacros;
using testing::storeMacros;

class MacroCommitTest : public ::testing::Test {
protected:
    MacroCommitResult commit(MacroList& list) {
        return commitMacros(working, list, [this](int index) { resetRecords.push_back(index); });
    }

    const KeyAssignment& record(int index) const { return working.records()[static_cast<std::size_t>(index)]; }

    bool playsMacro(int index, std::uint32_t id) const {
        return record(index).type == AssignmentType::PlayMacro && record(index).value == id;
    }

    bool isDefault(int index) const {
        return record(index).type == AssignmentType::Default && record(index).value == 0;
    }

    std::vector<std::uint16_t> storedIds() const {
        std::vector<std::uint16_t> ids;
        for (const MacroRecord& macro : working.macros()) ids.push_back(macro.id);
        return ids;
    }

    static void erase(MacroList& list, std::uint16_t id) {
        std::erase_if(list, [id](const MacroRecord& macro) { return macro.id == id; });
    }

    ConfigStore working;
    std::vector<int> resetRecords;
};

constexpr int kProfile0A = assignmentRecordIndex(0, 0x1E);
constexpr int kProfile1S = assignmentRecordIndex(1, 0x1F);
constexpr int kLastRecord = kAssignmentRecordCount - 1;

TEST_F(MacroCommitTest, KeysOfADeletedMacroGoBackToDefaultInEveryProfile) {
    MacroList list = storeMacros(working, {1, 2, 3});
    assignMacro(working, kProfile0A, 2);
    assignMacro(working, kProfile1S, 2);
    assignMacro(working, kLastRecord, 0x10001);  // its low 16 bits would name macro 1
    assignMacro(working, 0x30, 1);
    working.records()[0x31] = {AssignmentType::Key, 0, 2, 1, 0};

    erase(list, 2);
    const MacroCommitResult result = commit(list);

    EXPECT_EQ(result.status, MacroCommitStatus::Committed);
    EXPECT_TRUE(result.assignmentsChanged);
    EXPECT_EQ(resetRecords, (std::vector<int>{kProfile0A, kProfile1S, kLastRecord}));
    EXPECT_TRUE(isDefault(kProfile0A));
    EXPECT_TRUE(isDefault(kProfile1S));
    EXPECT_TRUE(isDefault(kLastRecord));
    EXPECT_TRUE(playsMacro(0x30, 1));
    EXPECT_EQ(record(0x31).type, AssignmentType::Key) << "only play-macro keys are looked at";
    EXPECT_EQ(storedIds(), (std::vector<std::uint16_t>{1, 3}));
}

TEST_F(MacroCommitTest, ARecycledIdDoesNotInheritTheDeletedMacrosKeys) {
    MacroList list = storeMacros(working, {1, 2, 3});
    assignMacro(working, kProfile0A, 3);

    erase(list, 3);
    ASSERT_EQ(appendNewMacro(list, u"Macro4"), AddMacroResult::Added);
    ASSERT_EQ(list.back().id, 3);
    commit(list);

    EXPECT_TRUE(isDefault(kProfile0A));
    EXPECT_EQ(resetRecords, (std::vector<int>{kProfile0A}));
    EXPECT_EQ(storedIds(), (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_EQ(macroName(working.macros()[2]), u"Macro4");
}

TEST_F(MacroCommitTest, KeysWithMacroIdZeroPlayTheFirstMacroOfTheList) {
    MacroList list = storeMacros(working, {5, 2});
    assignMacro(working, kProfile0A, 0);
    assignMacro(working, kLastRecord, 0);

    const MacroCommitResult result = commit(list);

    EXPECT_TRUE(result.assignmentsChanged);
    EXPECT_TRUE(playsMacro(kProfile0A, 5)) << "the first in list order, not the smallest id";
    EXPECT_TRUE(playsMacro(kLastRecord, 5));
    EXPECT_TRUE(resetRecords.empty());
}

TEST_F(MacroCommitTest, AnEmptyListResetsNamedMacrosButLeavesIdZero) {
    storeMacros(working, {1, 4});
    assignMacro(working, kProfile0A, 4);
    assignMacro(working, kProfile1S, 0);

    MacroList empty;
    const MacroCommitResult result = commit(empty);

    EXPECT_EQ(result.status, MacroCommitStatus::Committed);
    EXPECT_EQ(working.macroCount(), 0);
    EXPECT_TRUE(isDefault(kProfile0A));
    EXPECT_TRUE(playsMacro(kProfile1S, 0));
    EXPECT_EQ(record(kProfile0A).extra, 3) << "only type and macro id change";
}

TEST_F(MacroCommitTest, UnchangedAssignmentsLeaveNothingToApply) {
    MacroList list = storeMacros(working, {1, 2});
    assignMacro(working, kProfile0A, 2);

    std::swap(list[0], list[1]);
    const MacroCommitResult result = commit(list);

    EXPECT_FALSE(result.assignmentsChanged);
    EXPECT_TRUE(resetRecords.empty());
    EXPECT_TRUE(playsMacro(kProfile0A, 2));
    EXPECT_EQ(storedIds(), (std::vector<std::uint16_t>{2, 1}));
    EXPECT_EQ(working.findMacroIndexById(2), 0);
}

// An editor may commit, assign a key to a macro it created, and commit again
// (Apply, then OK): the key must keep that macro.
TEST_F(MacroCommitTest, AMacroCreatedAndCommittedKeepsKeysAssignedToItLater) {
    MacroList list = storeMacros(working, {1});
    ASSERT_EQ(appendNewMacro(list, u"Macro2"), AddMacroResult::Added);
    const std::uint16_t newId = list.back().id;

    commit(list);
    EXPECT_EQ(working.macros().back().unsaved, 0);
    EXPECT_EQ(list.back().unsaved, 0);

    assignMacro(working, kProfile0A, newId);
    EXPECT_TRUE(working.isMacroUsedByKeys(list.back()));
    commit(list);
    EXPECT_TRUE(playsMacro(kProfile0A, newId));
    EXPECT_TRUE(resetRecords.empty());
}

TEST_F(MacroCommitTest, AnInvalidListChangesNothing) {
    struct Case {
        const char* what;
        MacroList list;
    };
    std::vector<Case> cases;
    cases.push_back({"duplicate id", savedMacros({1, 2, 1})});
    cases.push_back({"id 0", savedMacros({1, 0})});
    cases.push_back({"id 101", savedMacros({101})});
    MacroList tooMany;
    for (std::uint16_t id = 1; id <= 100; ++id) tooMany.push_back(savedMacro(id));
    tooMany.push_back(savedMacro(100));
    cases.push_back({"101 macros", std::move(tooMany)});

    storeMacros(working, {1, 2});
    assignMacro(working, kProfile0A, 2);
    assignMacro(working, kProfile1S, 0);
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MacroCommitResult result = commit(c.list);
        EXPECT_EQ(result.status, MacroCommitStatus::InvalidList);
        EXPECT_FALSE(result.assignmentsChanged);
        EXPECT_EQ(storedIds(), (std::vector<std::uint16_t>{1, 2}));
        EXPECT_TRUE(playsMacro(kProfile0A, 2));
        EXPECT_TRUE(playsMacro(kProfile1S, 0));
    }
    EXPECT_TRUE(resetRecords.empty());
}

TEST_F(MacroCommitTest, StoredCopiesKeepTheStoresLimits) {
    MacroList list = savedMacros({1});
    list[0].unsaved = 1;
    list[0].actionCount = 2500;
    list[0].actions.fill({50000, 0x1E, KeyDirection::Release});

    commit(list);

    const MacroRecord& stored = working.macros().at(0);
    EXPECT_EQ(stored.unsaved, 0);
    EXPECT_EQ(stored.actionCount, kMaxMacroActions);
    const auto actions = macroActions(stored);
    EXPECT_TRUE(std::all_of(actions.begin(), actions.end(),
                            [](const MacroAction& action) { return action.delayMs == kMaxActionDelayMs; }));
}

}  // namespace
}  // namespace quillmar::config
