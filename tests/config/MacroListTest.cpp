#include <gtest/gtest.h>

#include <vector>

#include "config/MacroFixtures.h"
#include "config/MacroList.h"

namespace quillmar::config {
namespace {

using testing::savedMacro;
using testing::savedMacros;

TEST(MacroListTest, AllocatesTheSmallestFreeId) {
    struct Case {
        MacroList list;
        std::uint16_t expected;
    };
    std::vector<Case> cases;
    cases.push_back({{}, 1});
    cases.push_back({savedMacros({1, 2, 4}), 3});
    cases.push_back({savedMacros({2, 5}), 1});
    cases.push_back({savedMacros({3, 1, 2}), 4});
    for (Case& c : cases) {
        EXPECT_EQ(allocateMacroId(c.list), c.expected);
    }
}

TEST(MacroListTest, NoIdIsLeftWhenAllHundredAreTaken) {
    MacroList list;
    for (std::uint16_t id = 100; id >= 1; --id) list.push_back(savedMacro(id));
    EXPECT_EQ(allocateMacroId(list), 0);
}

TEST(MacroListTest, NewMacroIsAnUnsavedEmptyMacroWithTheNextId) {
    const MacroList list = savedMacros({1, 3});
    const MacroRecord macro = newMacroRecord(u"Macro2", list);
    EXPECT_EQ(macroName(macro), u"Macro2");
    EXPECT_EQ(macro.id, 2);
    EXPECT_EQ(macro.loopCount, 1);
    EXPECT_EQ(macro.unsaved, 1);
    EXPECT_EQ(macro.playMode, 0);
    EXPECT_EQ(macro.actionCount, 0);
}

TEST(MacroListTest, The101stMacroIsRefused) {
    MacroList list;
    for (int i = 0; i < kMaxMacros; ++i) {
        ASSERT_EQ(appendNewMacro(list, u"Macro"), AddMacroResult::Added);
    }
    EXPECT_EQ(list.back().id, 100);
    EXPECT_EQ(appendNewMacro(list, u"Macro"), AddMacroResult::ListFull);
    EXPECT_EQ(list.size(), static_cast<std::size_t>(kMaxMacros));
}

}  // namespace
}  // namespace quillmar::config
