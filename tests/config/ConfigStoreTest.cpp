#include <gtest/gtest.h>

#include "config/AssignmentTexts.h"
#include "config/ConfigStore.h"
#include "config/MacroFixtures.h"

namespace quillmar::config {
namespace {

using keyboard::AssignmentType;
using testing::assignMacro;
using testing::savedMacro;
using testing::storeMacros;

TEST(ConfigStoreTest, IdSearchFallsBackToTheFirstPosition) {
    ConfigStore store;
    EXPECT_EQ(store.findMacroIndexById(1), 0) << "empty store";
    storeMacros(store, {4, 7, 9});
    const struct {
        std::uint32_t id;
        int position;
    } cases[] = {{4, 0}, {7, 1}, {9, 2}, {5, 0}, {0, 0}, {0x10007, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(store.findMacroIndexById(c.id), c.position) << "id " << c.id;
    }
}

TEST(ConfigStoreTest, IdAtAPositionOutsideTheListIsZero) {
    ConfigStore store;
    storeMacros(store, {4, 7});
    EXPECT_EQ(store.macroIdAt(1), 7);
    EXPECT_EQ(store.macroIdAt(-1), 0);
    EXPECT_EQ(store.macroIdAt(2), 0);
    store.releaseMacros();
    EXPECT_EQ(store.macroCount(), 0);
    EXPECT_EQ(store.macroIdAt(0), 0);
}

TEST(ConfigStoreTest, MacroIsUsedOnlyByPlayMacroKeysWithItsId) {
    ConfigStore store;
    storeMacros(store, {7, 9});
    assignMacro(store, assignmentRecordIndex(2, 0x1E), 7);
    store.records()[0x30] = {AssignmentType::Key, 0, 9, 0, 0};

    EXPECT_TRUE(store.isMacroUsedByKeys(savedMacro(7))) << "a key of profile slot 2 counts";
    EXPECT_FALSE(store.isMacroUsedByKeys(savedMacro(9))) << "a Key assignment whose value is 9";

    MacroRecord createdSinceOpening = savedMacro(7);
    createdSinceOpening.unsaved = 1;
    EXPECT_FALSE(store.isMacroUsedByKeys(createdSinceOpening));
}

TEST(AssignmentTextsTest, TotalFollowsEveryChange) {
    AssignmentTexts texts;
    texts.setText(10, u"C:/games/run.exe");  // 16 units + terminator
    texts.setText(2047, u"");
    EXPECT_EQ(texts.sizeInBytes(10), 34u);
    EXPECT_EQ(texts.totalBytes(), 36u);

    texts.setText(10, u"ab");
    EXPECT_EQ(texts.totalBytes(), 8u) << "replacing a text drops the old size";
    texts.clearText(10);
    texts.clearText(10);
    EXPECT_EQ(texts.totalBytes(), 2u);
    EXPECT_FALSE(texts.text(10).has_value());
    EXPECT_EQ(texts.text(2047), std::u16string_view());

    texts.setText(5, std::u16string_view(u"ab\0cd", 5));
    EXPECT_EQ(texts.text(5), u"ab") << "a text ends at its first NUL";
    texts.clearAll();
    EXPECT_EQ(texts.totalBytes(), 0u);
}

TEST(AssignmentTextsTest, IndexesOutsideTheRecordsAreIgnored) {
    AssignmentTexts texts;
    texts.setText(-1, u"x");
    texts.setText(kAssignmentRecordCount, u"x");
    texts.clearText(kAssignmentRecordCount);
    EXPECT_EQ(texts.totalBytes(), 0u);
    EXPECT_FALSE(texts.text(-1).has_value());
    EXPECT_EQ(texts.sizeInBytes(kAssignmentRecordCount), 0u);
}

}  // namespace
}  // namespace quillmar::config
