#include "keyboard/DefaultAssignments.h"
#include "keyboard/LayoutKeyList.h"

#include <gtest/gtest.h>

#include <array>

namespace quillmar::keyboard {
namespace {

class DefaultAssignmentsTest : public ::testing::Test {
protected:
    // Every record assigned, flagged and carrying a reserved word, as a
    // profile in use might be.
    void SetUp() override {
        for (int slot = 0; slot < kSlotsPerProfile; ++slot) {
            KeyAssignment& record = records_[slot];
            record.type = AssignmentType::PlayMacro;
            record.extra = 5;
            record.value = 2;
            record.colourKeyFlag = 1;
            record.reserved = 0xABCD;
        }
    }

    void expectCleared(int slot, std::uint16_t extra) const {
        const KeyAssignment& record = records_[slot];
        EXPECT_EQ(record.type, AssignmentType::Default) << std::hex << slot;
        EXPECT_EQ(record.value, 0u) << std::hex << slot;
        EXPECT_EQ(record.extra, extra) << std::hex << slot;
        EXPECT_EQ(record.colourKeyFlag, 1u) << std::hex << slot;
        EXPECT_EQ(record.reserved, 0xABCDu) << std::hex << slot;
    }

    void expectUntouched(int slot) const {
        EXPECT_EQ(records_[slot].type, AssignmentType::PlayMacro) << std::hex << slot;
        EXPECT_EQ(records_[slot].value, 2u) << std::hex << slot;
    }

    std::array<KeyAssignment, kSlotsPerProfile> records_{};
    text::BuiltInTexts texts_;
};

TEST_F(DefaultAssignmentsTest, RestoreClearsTheBankAndTheLayoutKeysOnly) {
    const auto updates = restoreDefaultAssignments(records_, GKeyBank::B, texts_);

    ASSERT_EQ(updates.size(), 9u + kLayoutKeyCount);
    for (int n = 1; n <= 9; ++n) {
        expectCleared(gKeySlotOf(n, GKeyBank::B), static_cast<std::uint16_t>(0x1300 + n));
        expectUntouched(gKeySlotOf(n, GKeyBank::A));
        EXPECT_EQ(updates[n - 1].buttonId, kGKeyList[n - 1]);
        EXPECT_FALSE(updates[n - 1].description.assigned);
    }
    EXPECT_EQ(updates[0].description.tooltip, u"G1");
    for (int i = 0; i < kLayoutKeyCount; ++i) {
        const LayoutKey& key = kLayoutKeyList[i];
        expectCleared(keyIndexOf(key.keyCode), 0);
        EXPECT_EQ(updates[9 + i].buttonId, key.buttonId);
        EXPECT_FALSE(updates[9 + i].description.assigned);
    }
    EXPECT_EQ(updates[9].description.tooltip, u"A");
    expectUntouched(keyIndexOf(0x110));  // a media key with no button
    expectUntouched(0);
}

TEST_F(DefaultAssignmentsTest, ResetRedrawsTheButtonShowingTheRecord) {
    const auto gKey = resetKeyButton(records_, 0x102, GKeyBank::A, texts_);
    ASSERT_TRUE(gKey);
    EXPECT_EQ(*gKey, (KeyButtonUpdate{1002, {false, u"G3"}}));
    expectCleared(0x102, 0x0303);

    const auto numLock = resetKeyButton(records_, 0xC5, GKeyBank::A, texts_);
    ASSERT_TRUE(numLock);
    EXPECT_EQ(*numLock, (KeyButtonUpdate{1104, {false, u"Num Lock"}}));
    expectCleared(0xC5, 0);
}

TEST_F(DefaultAssignmentsTest, ResetOfARecordWithoutAVisibleButton) {
    EXPECT_EQ(resetKeyButton(records_, 0x10B, GKeyBank::A, texts_), std::nullopt) << "G3 of the other bank";
    expectCleared(0x10B, 0x1303);
    EXPECT_EQ(resetKeyButton(records_, keyIndexOf(0x110), GKeyBank::A, texts_), std::nullopt);
    for (int outside : {-1, kSlotsPerProfile, 100000})
        EXPECT_EQ(resetKeyButton(records_, outside, GKeyBank::A, texts_), std::nullopt);
}

}  // namespace
}  // namespace quillmar::keyboard
