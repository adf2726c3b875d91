#include "keyboard/KeyButtons.h"
#include "keyboard/LayoutKeyList.h"

#include <gtest/gtest.h>

#include <set>

namespace quillmar::keyboard {
namespace {

constexpr int kG1 = 1000, kG3 = 1002, kG9 = 1143, kKeyA = 1058, kNumLock = 1104, kRightShift = 1081,
              kK45 = 1207, kD4 = 1019, kAB = 1128;

TEST(KeyButtons, SlotsFollowTheKeyAndTheBank) {
    EXPECT_EQ(slotOfButton(kG3, GKeyBank::A), 0x102);
    EXPECT_EQ(slotOfButton(kG3, GKeyBank::B), 0x10B);
    EXPECT_EQ(slotOfButton(kG9, GKeyBank::B), 0x111);
    EXPECT_EQ(slotOfButton(kKeyA, GKeyBank::B), 0x1E);
    EXPECT_EQ(slotOfButton(kNumLock, GKeyBank::A), 0xC5);
    for (int other : {kD4, kAB, kFnButtonId, 0, -1, 99999}) EXPECT_EQ(slotOfButton(other, GKeyBank::A), std::nullopt);
}

TEST(KeyButtons, LightingPositions) {
    EXPECT_EQ(lightingPositionOf(kKeyA), 64);
    EXPECT_EQ(lightingPositionOf(kK45), 85);
    EXPECT_EQ(lightingPositionOf(kG1), 125);
    EXPECT_EQ(lightingPositionOf(kG9), 125);
    EXPECT_EQ(lightingPositionOf(kFnButtonId), 110);
    EXPECT_EQ(lightingPositionOf(kD4), std::nullopt);
    EXPECT_EQ(lightingPositionOf(kAB), std::nullopt);
}

TEST(KeyButtons, SkinNames) {
    EXPECT_EQ(skinNameOfButton(kNumLock), "KEY_0C5");
    EXPECT_EQ(skinNameOfButton(kRightShift), "KEY_036");
    EXPECT_EQ(skinNameOfButton(kKeyA), "KEY_01E");
    EXPECT_EQ(skinNameOfButton(1140), "FUNC_G6");
    EXPECT_EQ(skinNameOfButton(kD4), std::nullopt);
}

// Each button keeps its own colour-key flag: G-keys of both banks and all
// layout keys name different records, so toggling one shows on no other.
TEST(KeyButtons, EveryButtonHasItsOwnColourKeyFlagRecord) {
    std::set<int> records;
    for (GKeyBank bank : {GKeyBank::A, GKeyBank::B})
        for (int id : kGKeyList) records.insert(colourKeyFlagRecordOf(id, bank).value());
    for (const LayoutKey& key : kLayoutKeyList) records.insert(colourKeyFlagRecordOf(key.buttonId, GKeyBank::A).value());
    EXPECT_EQ(records.size(), 18u + kLayoutKeyCount);
    EXPECT_EQ(colourKeyFlagRecordOf(kKeyA, GKeyBank::B), 0);
    EXPECT_EQ(colourKeyFlagRecordOf(kK45, GKeyBank::A), 104);
    EXPECT_EQ(colourKeyFlagRecordOf(kG1, GKeyBank::B), 0x109);
    EXPECT_EQ(colourKeyFlagRecordOf(kD4, GKeyBank::A), std::nullopt);
}

}  // namespace
}  // namespace quillmar::keyboard
