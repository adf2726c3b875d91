#include <gtest/gtest.h>

#include <array>

#include "config/KeyBlockImage.h"
#include "keyboard/KeySlots.h"

namespace quillmar::config {
namespace {

using keyboard::AssignmentType;
using keyboard::DeviceKeyEntry;
using keyboard::KeyAssignment;
using keyboard::kBuiltInDefaultKeyTable;

using Records = std::array<KeyAssignment, keyboard::kSlotsPerProfile>;

constexpr int kPositionOfA = 19;           // 02 02 04
constexpr int kPositionOfLeftShift = 12;  // 02 01 02
constexpr int kPositionOfPrevTrack = 112;  // 03 B6 00
constexpr int kSlotOfA = 0x1E;
constexpr int kSlotOfLeftShift = 0x2A;
constexpr int kSlotOfPrevTrack = 0x90;  // key code 0x110

KeyAssignment assignment(AssignmentType type, std::uint32_t value = 0) {
    KeyAssignment record;
    record.type = type;
    record.value = value;
    return record;
}

DeviceKeyEntry entryIn(const KeyBlockBytes& block, int position) { return keyboard::entryAt(block, position); }

int macroPosition(std::uint32_t id) { return id == 5 ? 3 : 0; }

TEST(BuildKeyBlock, DefaultRecordsGiveTheDefaultLayout) {
    const Records records{};
    EXPECT_EQ(buildKeyBlock(records, kBuiltInDefaultKeyTable, macroPosition), kBuiltInDefaultKeyTable);
}

TEST(BuildKeyBlock, EachKeyCarriesItsOwnRecord) {
    Records records{};
    records[kSlotOfA] = assignment(AssignmentType::Key, 0x30);  // B
    records[kSlotOfLeftShift] = assignment(AssignmentType::PlayMacro, 5);
    records[kSlotOfPrevTrack] = assignment(AssignmentType::PlayMacro, 77);
    const KeyBlockBytes block = buildKeyBlock(records, kBuiltInDefaultKeyTable, macroPosition);

    EXPECT_EQ(entryIn(block, kPositionOfA), (DeviceKeyEntry{0x02, 0x02, 0x05}));
    EXPECT_EQ(entryIn(block, kPositionOfLeftShift), (DeviceKeyEntry{0x05, 0x01, 0x03}));
    EXPECT_EQ(entryIn(block, kPositionOfPrevTrack), (DeviceKeyEntry{0x05, 0x01, 0x00}))
        << "a macro that is gone is sent as the first macro";
    int changed = 0;
    for (int position = 0; position < keyboard::kKeyPositions; ++position)
        changed += entryIn(block, position) != keyboard::entryAt(kBuiltInDefaultKeyTable, position);
    EXPECT_EQ(changed, 3);
}

TEST(BuildKeyBlock, PositionsWithoutAKeyKeepTheirDefault) {
    Records records{};
    records.fill(assignment(AssignmentType::Disabled));
    const KeyBlockBytes block = buildKeyBlock(records, kBuiltInDefaultKeyTable, macroPosition);
    for (int position = 0; position < keyboard::kKeyPositions; ++position) {
        const DeviceKeyEntry defaultEntry = keyboard::entryAt(kBuiltInDefaultKeyTable, position);
        const bool noKey = keyboard::keyOfPosition(defaultEntry) == keyboard::kNoKey;
        EXPECT_EQ(entryIn(block, position), noKey ? defaultEntry : DeviceKeyEntry{}) << "position " << position;
    }
    EXPECT_EQ(entryIn(block, 0), (DeviceKeyEntry{0x05, 0x00, 0x00}));
    EXPECT_EQ(entryIn(block, 53), (DeviceKeyEntry{0x05, 0x02, 0x02}));
    EXPECT_EQ(entryIn(block, 6), (DeviceKeyEntry{}));
}

TEST(DecodeKeyBlock, ReadsBackWhatWasBuilt) {
    Records records{};
    records[kSlotOfA] = assignment(AssignmentType::Key, 0x30);
    records[kSlotOfLeftShift] = assignment(AssignmentType::PlayMacro, 5);
    records[kSlotOfPrevTrack] = assignment(AssignmentType::Media, 7);
    records[0x39] = assignment(AssignmentType::StopMacro);  // space
    records[0x3B] = assignment(AssignmentType::Function, 10);  // F1
    records[0x3C] = assignment(AssignmentType::Disabled);  // F2
    const KeyBlockBytes block = buildKeyBlock(records, kBuiltInDefaultKeyTable, macroPosition);

    Records back{};
    back.fill(assignment(AssignmentType::Disabled, 99));
    decodeKeyBlock(back, block, kBuiltInDefaultKeyTable);
    for (int slot = 0; slot < keyboard::kSlotsPerProfile; ++slot) {
        KeyAssignment expected = records[static_cast<std::size_t>(slot)];
        if (slot == kSlotOfLeftShift) expected.value = 4;  // the keyboard's position 3 plus one
        expected.extra = keyboard::gKeyCodeOfSlot(slot);
        const KeyAssignment& got = back[static_cast<std::size_t>(slot)];
        EXPECT_EQ(got.type, expected.type) << "slot " << slot;
        EXPECT_EQ(got.value, expected.value) << "slot " << slot;
        EXPECT_EQ(got.extra, expected.extra) << "slot " << slot;
    }
    EXPECT_EQ(back[0x100].extra, 0x301);
    EXPECT_EQ(back[0x111].extra, 0x1309);
}

TEST(DecodeKeyBlock, GarbageAtPositionsWithoutAKeyIsIgnored) {
    KeyBlockBytes block = kBuiltInDefaultKeyTable;
    for (int position : {0, 6, 53}) {
        block[static_cast<std::size_t>(position) * 3] = 0x02;
        block[static_cast<std::size_t>(position) * 3 + 1] = 0x02;
        block[static_cast<std::size_t>(position) * 3 + 2] = 0x05;
    }
    block[kPositionOfA * 3] = 0x77;  // unknown kind
    Records back{};
    decodeKeyBlock(back, block, kBuiltInDefaultKeyTable);
    for (int slot = 0; slot < keyboard::kSlotsPerProfile; ++slot) {
        const auto expected = slot == kSlotOfA ? AssignmentType::Disabled : AssignmentType::Default;
        EXPECT_EQ(back[static_cast<std::size_t>(slot)].type, expected) << "slot " << slot;
    }
}

}  // namespace
}  // namespace quillmar::config
