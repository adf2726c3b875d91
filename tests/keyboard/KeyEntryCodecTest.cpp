#include "keyboard/DefaultKeyTable.h"
#include "keyboard/KeyEntryCodec.h"
#include "keyboard/KeySelectionList.h"
#include "keyboard/LayoutKeyList.h"
#include "keyboard/MediaFunctionTable.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace quillmar::keyboard {

// Failure messages show entries as the keyboard's three bytes.
inline std::ostream& operator<<(std::ostream& out, const DeviceKeyEntry& e) {
    return out << std::hex << int(e.kind) << ' ' << int(e.byte1) << ' ' << int(e.byte2);
}

namespace {

// A default entry that no choice of the editor encodes to.
constexpr DeviceKeyEntry kDefaultPower{0x04, 0x81, 0x00};

KeyAssignment assignment(AssignmentType type, std::uint32_t value = 0) {
    KeyAssignment record;
    record.type = type;
    record.value = value;
    return record;
}

// Macros with ids 7, 3 and 42 at positions 0, 1 and 2.
int macroPosition(std::uint32_t id) {
    switch (id) {
    case 7: return 0;
    case 3: return 1;
    case 42: return 2;
    default: return -1;
    }
}

::testing::AssertionResult sameRecord(const KeyAssignment& actual, AssignmentType type, std::uint32_t value) {
    if (actual.type == type && actual.value == value && actual.extra == 0 && actual.colourKeyFlag == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "type " << static_cast<int>(actual.type) << " value 0x" << std::hex
                                         << actual.value << " extra " << actual.extra;
}

TEST(EncodeKeyEntry, EachTypeGivesItsEntry) {
    struct Case {
        const char* what;
        KeyAssignment record;
        DeviceKeyEntry expected;
    };
    const Case cases[] = {
        {"default", assignment(AssignmentType::Default), kDefaultPower},
        {"launch program keeps the default", assignment(AssignmentType::LaunchProgram, 5), kDefaultPower},
        {"disabled", assignment(AssignmentType::Disabled), {0, 0, 0}},
        {"text block", assignment(AssignmentType::TextBlock, 5), {0, 0, 0}},
        {"left Shift as modifier", assignment(AssignmentType::Key, 0x02A), {0x02, 0x01, 0x02}},
        {"right Win as modifier", assignment(AssignmentType::Key, 0x15C), {0x02, 0x01, 0x80}},
        {"right Shift 036 as modifier", assignment(AssignmentType::Key, 0x036), {0x02, 0x01, 0x20}},
        {"right Shift 136 is no modifier", assignment(AssignmentType::Key, 0x136), {0x02, 0x02, 0xE5}},
        {"ordinary key", assignment(AssignmentType::Key, 0x030), {0x02, 0x02, 0x05}},
        {"Num Lock", assignment(AssignmentType::Key, 0x145), {0x02, 0x02, 0x53}},
        {"media key as Key", assignment(AssignmentType::Key, 0x130), {0x02, 0x02, 0x00}},
        {"Power as Key", assignment(AssignmentType::Key, 0x15E), {0x02, 0x02, 0x00}},
        {"key beyond 16 bits does not alias", assignment(AssignmentType::Key, 0x1001E), {0x02, 0x02, 0x00}},
        {"play macro", assignment(AssignmentType::PlayMacro, 42), {0x05, 0x01, 0x02}},
        {"play first macro", assignment(AssignmentType::PlayMacro, 7), {0x05, 0x01, 0x00}},
        {"play a macro that is gone", assignment(AssignmentType::PlayMacro, 9), {0x05, 0x01, 0x00}},
        {"stop macro", assignment(AssignmentType::StopMacro, 3), {0x05, 0x02, 0x00}},
        {"media volume up", assignment(AssignmentType::Media, 6), {0x03, 0xE9, 0x00}},
        {"media web search", assignment(AssignmentType::Media, 14), {0x03, 0x21, 0x02}},
        {"media index beyond the table", assignment(AssignmentType::Media, 18), {0, 0, 0}},
        {"function Paste", assignment(AssignmentType::Function, 6), {0x05, 0x05, 0x06}},
        {"function index beyond the table", assignment(AssignmentType::Function, 11), {0, 0, 0}},
        {"function index with high bits", assignment(AssignmentType::Function, 0x100), {0, 0, 0}},
        {"unknown type", assignment(static_cast<AssignmentType>(9), 1), kDefaultPower},
    };
    for (const Case& c : cases) EXPECT_EQ(encodeKeyEntry(c.record, kDefaultPower, macroPosition), c.expected) << c.what;
}

TEST(EncodeKeyEntry, MacroWithoutALookupPlaysTheFirstMacro) {
    const DeviceKeyEntry firstMacro{0x05, 0x01, 0x00};
    EXPECT_EQ(encodeKeyEntry(assignment(AssignmentType::PlayMacro, 7), kDefaultPower, {}), firstMacro);
    EXPECT_EQ(encodeKeyEntry(assignment(AssignmentType::PlayMacro, 7), kDefaultPower, [](std::uint32_t) { return 256; }),
              firstMacro)
        << "a position is cut to the entry's byte";
}

TEST(DecodeKeyEntry, EachEntryGivesItsRecord) {
    struct Case {
        const char* what;
        DeviceKeyEntry entry;
        AssignmentType type;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"the default entry", kDefaultPower, AssignmentType::Default, 0},
        {"no function", {0, 0, 0}, AssignmentType::Disabled, 0},
        {"modifiers: lowest set bit", {0x02, 0x01, 0x06}, AssignmentType::Key, 0x02A},
        {"modifier right Win", {0x02, 0x01, 0x80}, AssignmentType::Key, 0x15C},
        {"modifiers without a bit", {0x02, 0x01, 0x00}, AssignmentType::Disabled, 0},
        {"keyboard usage", {0x02, 0x02, 0x05}, AssignmentType::Key, 0x030},
        {"keyboard usage of Pause and Break", {0x02, 0x02, 0x48}, AssignmentType::Key, 0x045},
        {"keyboard usage of no key", {0x02, 0x02, 0xF0}, AssignmentType::Disabled, 0},
        {"keyboard usage that reads as another page", {0x02, 0x02, 0x81}, AssignmentType::Disabled, 0},
        {"keyboard entry of unknown form", {0x02, 0x03, 0x05}, AssignmentType::Disabled, 0},
        {"play macro at position 0", {0x05, 0x01, 0x00}, AssignmentType::PlayMacro, 1},
        {"play macro at position 99", {0x05, 0x01, 99}, AssignmentType::PlayMacro, 100},
        {"stop macro", {0x05, 0x02, 0x07}, AssignmentType::StopMacro, 0},
        {"function", {0x05, 0x05, 0x0A}, AssignmentType::Function, 10},
        {"function beyond the table", {0x05, 0x05, 0x0B}, AssignmentType::Disabled, 0},
        {"macro entry of unknown form", {0x05, 0x00, 0x00}, AssignmentType::Disabled, 0},
        {"media volume up", {0x03, 0xE9, 0x00}, AssignmentType::Media, 6},
        {"consumer usage of no media function", {0x03, 0xE9, 0x01}, AssignmentType::Disabled, 0},
        {"generic desktop", {0x04, 0x82, 0x00}, AssignmentType::Disabled, 0},
        {"unknown kind", {0x09, 0x02, 0x04}, AssignmentType::Disabled, 0},
    };
    for (const Case& c : cases) EXPECT_TRUE(sameRecord(decodeKeyEntry(c.entry, kDefaultPower), c.type, c.value)) << c.what;
}

TEST(DecodeKeyEntry, AnEntryEqualToItsDefaultIsDefaultWhateverItSays) {
    for (DeviceKeyEntry entry : {DeviceKeyEntry{0, 0, 0}, DeviceKeyEntry{5, 1, 3}, DeviceKeyEntry{3, 0xE9, 0}})
        EXPECT_TRUE(sameRecord(decodeKeyEntry(entry, entry), AssignmentType::Default, 0)) << entry;
}

// What the keyboard is sent must read back as the same assignment.
TEST(KeyEntryCodec, EveryAssignableChoiceSurvivesTheKeyboard) {
    std::vector<KeyAssignment> records;
    for (KeyCode code : kKeySelectionList) records.push_back(assignment(AssignmentType::Key, code));
    for (std::uint32_t i = 0; i < kMediaFunctionTable.size(); ++i) records.push_back(assignment(AssignmentType::Media, i));
    for (std::uint32_t i = 0; i < 11; ++i) records.push_back(assignment(AssignmentType::Function, i));
    records.push_back(assignment(AssignmentType::StopMacro));
    records.push_back(assignment(AssignmentType::Disabled));

    for (const KeyAssignment& record : records) {
        const KeyAssignment back = decodeKeyEntry(encodeKeyEntry(record, kDefaultPower, macroPosition), kDefaultPower);
        const bool breakReadsAsPause = record.type == AssignmentType::Key && record.value == 0x146;
        EXPECT_TRUE(sameRecord(back, record.type, breakReadsAsPause ? 0x045 : record.value))
            << "type " << static_cast<int>(record.type) << " value 0x" << std::hex << record.value;
    }
    // A macro comes back under the id the keyboard's order gives it.
    const KeyAssignment macro = decodeKeyEntry(encodeKeyEntry(assignment(AssignmentType::PlayMacro, 42), kDefaultPower,
                                                              macroPosition), kDefaultPower);
    EXPECT_TRUE(sameRecord(macro, AssignmentType::PlayMacro, 3));
}

TEST(KeyOfPosition, ReadsEveryEntryKind) {
    struct Case {
        DeviceKeyEntry entry;
        KeyCode key;
    };
    const Case cases[] = {
        {{0x02, 0x02, 0x29}, 0x001}, {{0x02, 0x01, 0x02}, 0x02A}, {{0x02, 0x01, 0x30}, 0x11D},
        {{0x02, 0x00, 0x40}, 0x138}, {{0x02, 0x01, 0x00}, 0},     {{0x03, 0xB6, 0x00}, 0x110},
        {{0x03, 0x00, 0x00}, 0},     {{0x04, 0x82, 0x00}, 0x15F}, {{0x04, 0x84, 0x00}, 0},
        {{0x05, 0x00, 0x00}, 0},     {{0x05, 0x02, 0x02}, 0},     {{0x00, 0x00, 0x00}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(keyOfPosition(c.entry), c.key) << c.entry;
}

// Every key the built-in default table places is a key of the drawn
// keyboard, or one of the two media keys of its top row.
TEST(KeyOfPosition, BuiltInDefaultTableHoldsKeysOfTheDrawnKeyboard) {
    std::set<KeyCode> drawn = {0x110, 0x122};
    for (const LayoutKey& key : kLayoutKeyList) drawn.insert(key.keyCode);
    int positionsWithKeys = 0;
    for (int position = 0; position < kKeyPositions; ++position) {
        const KeyCode key = keyOfPosition(entryAt(kBuiltInDefaultKeyTable, position));
        if (key == kNoKey) continue;
        ++positionsWithKeys;
        EXPECT_TRUE(drawn.count(key)) << "position " << position << " key 0x" << std::hex << key;
    }
    EXPECT_EQ(positionsWithKeys, 100);
    for (int position : {0, 5, 6, 53, 111}) EXPECT_EQ(keyOfPosition(entryAt(kBuiltInDefaultKeyTable, position)), 0);
    EXPECT_EQ(keyOfPosition(entryAt(kBuiltInDefaultKeyTable, 12)), 0x02A);
    EXPECT_EQ(keyOfPosition(entryAt(kBuiltInDefaultKeyTable, 120)), 0x122);
}

}  // namespace
}  // namespace quillmar::keyboard
