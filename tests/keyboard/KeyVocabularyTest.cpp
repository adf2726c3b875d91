#include "keyboard/ConsumerUsageTable.h"
#include "keyboard/KeyCode.h"
#include "keyboard/KeyInfoTable.h"
#include "keyboard/KeyMessage.h"
#include "keyboard/KeySelectionList.h"
#include "keyboard/KeyUsage.h"
#include "keyboard/MediaFunctionTable.h"
#include "keyboard/VirtualKeyTable.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace quillmar::keyboard {
namespace {

std::vector<KeyCode> namedKeyCodes() {
    std::vector<KeyCode> codes;
    for (unsigned index = 0; index < kKeyInfoTable.size(); ++index)
        if (kKeyInfoTable[index].vk != 0) codes.push_back(keyCodeOf(static_cast<KeyIndex>(index)));
    return codes;
}

std::uint32_t messageParameterOf(KeyCode code) {
    const std::uint32_t extended = code >= 0x100 ? 1u << 24 : 0u;
    return ((code & 0xFFu) << 16) | extended;
}

TEST(KeyIndex, MapsTheTwoCodeRangesOntoOneByteAndBack) {
    EXPECT_EQ(keyIndexOf(0x145), 0xC5);
    EXPECT_EQ(keyCodeOf(0xC5), 0x145);
    EXPECT_EQ(keyIndexOf(0x045), 0x45);
    for (unsigned index = 1; index < 256; ++index)
        EXPECT_EQ(keyIndexOf(keyCodeOf(static_cast<KeyIndex>(index))), index);
}

TEST(KeyIndex, CodesOutsideTheKeyRangesAreNoKeys) {
    for (KeyCode code : {0x000, 0x080, 0x09C, 0x0FF, 0x100, 0x180, 0x1FF, 0xFFFF}) {
        EXPECT_FALSE(isValidKeyCode(static_cast<KeyCode>(code))) << std::hex << code;
        EXPECT_EQ(usageOfKeyCode(static_cast<KeyCode>(code)), HidUsage{}) << std::hex << code;
        EXPECT_EQ(listPositionOf(static_cast<KeyCode>(code)), kNotInList) << std::hex << code;
    }
}

// Every named row must agree with itself across the vocabularies: its usage,
// its virtual-key code, its scan code in a key message and its list position
// all lead back to it, except where another row takes precedence.
TEST(KeyInfoTable, EveryNamedRowTranslatesBackToItsKey) {
    const std::vector<KeyCode> codes = namedKeyCodes();
    ASSERT_EQ(codes.size(), static_cast<std::size_t>(kNamedKeyCount));
    for (KeyCode code : codes) {
        SCOPED_TRACE(::testing::Message() << "key 0x" << std::hex << code);
        const KeyInfo& row = keyInfoOf(code);

        const HidUsage usage = usageOfKeyCode(code);
        const KeyCode usageOwner = code == 0x146 ? 0x045 : code == 0x136 ? 0x036 : code;
        if (usage != HidUsage{}) {
            EXPECT_EQ(keyCodeOfUsage(usage), usageOwner);
        }

        const KeyCode vkOwner = code == 0x054 ? 0x137 : code == 0x136 ? 0x036 : code == 0x11C ? 0x01C : code;
        if (code < 0x16E && row.vk != kNoVirtualKey) {
            EXPECT_EQ(keyCodeOfVirtualKey(row.vk), vkOwner);
        }

        EXPECT_EQ(keyCodeFromKeyMessage({row.vk, messageParameterOf(code)}), code);
        if (row.altVk != row.vk) {
            EXPECT_EQ(keyCodeFromKeyMessage({row.altVk, messageParameterOf(code)}), code);
        }

        if (row.listPosition != kNotInList) {
            EXPECT_EQ(keyCodeAtListPosition(row.listPosition), code == 0x136 ? 0x036 : code);
            EXPECT_EQ(nameAtListPosition(row.listPosition), row.name);
        }
        EXPECT_EQ(row.name.empty(), isMediaKeyCode(code));
    }
}

// Letters and digits carry their character in three independent columns:
// the name, the virtual-key code and (in a known order) the HID usage.
TEST(KeyInfoTable, LettersAndDigitsAgreeWithTheirStandards) {
    const std::u16string_view letters = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::u16string_view digits = u"1234567890";
    for (KeyCode code : namedKeyCodes()) {
        const KeyInfo& row = keyInfoOf(code);
        if (row.name.size() != 1) continue;
        const char16_t c = row.name[0];
        if (const auto letter = letters.find(c); letter != std::u16string_view::npos) {
            EXPECT_EQ(row.vk, c);
            EXPECT_EQ(usageOfKeyCode(code), (HidUsage{kKeyboardPage, static_cast<std::uint16_t>(0x04 + letter)}));
            EXPECT_EQ(row.listPosition, letter);
        } else if (const auto digit = digits.find(c); digit != std::u16string_view::npos) {
            EXPECT_EQ(row.vk, c);
            EXPECT_EQ(code, 0x02 + digit);
            EXPECT_EQ(usageOfKeyCode(code), (HidUsage{kKeyboardPage, static_cast<std::uint16_t>(0x1E + digit)}));
            EXPECT_EQ(row.listPosition, 26 + digit);
        }
    }
}

TEST(KeyUsage, TranslatesEachPageAndItsTieBreaks) {
    struct Case {
        KeyCode code;
        HidUsage usage;
    };
    const Case cases[] = {
        {0x01C, {0x07, 0x28}},  {0x145, {0x07, 0x53}},  {0x15C, {0x07, 0xE7}},  {0x147, {0x07, 0x4A}},
        {0x11C, {0x07, 0x58}},  {0x056, {0x07, 0x64}},  {0x071, {0x07, 0x91}},  {0x07E, {0x07, 0x85}},
        {0x15E, {0x01, 0x81}},  {0x163, {0x01, 0x83}},  {0x130, {0x0C, 0xE9}},  {0x16B, {0x0C, 0x0194}},
        {0x110, {0x0C, 0xB6}},  {0x054, {0, 0}},        {0x064, {0, 0}},        {0x174, {0, 0}},
        {0x17E, {0, 0}},        {0x055, {0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(usageOfKeyCode(c.code), c.usage) << std::hex << c.code;

    EXPECT_EQ(usageOfKeyCode(0x146), (HidUsage{0x07, 0x48}));
    EXPECT_EQ(keyCodeOfUsage({0x07, 0x48}), 0x045);
    EXPECT_EQ(keyCodeOfUsage({0x07, 0xE5}), 0x036);
    EXPECT_EQ(keyCodeOfUsage({0x0C, 0x00E9}), 0x130);
}

TEST(KeyUsage, UsagesOfNoKeyGiveNoKey) {
    const HidUsage noKey[] = {
        {0x01, 0x84}, {0x01, 0x80}, {0x07, 0x100}, {0x07, 0xFF}, {0x07, 0x00}, {0x09, 0x04}, {0x00, 0x00},
        // Bytes that mean another page in the keyboard's tables.
        {0x07, 0x81}, {0x07, 0xC0}, {0x07, 0xD2},
        // The empty consumer entries name no key.
        {0x0C, 0x0000}, {0x0C, 0x0ABC},
    };
    for (const HidUsage& usage : noKey)
        EXPECT_EQ(keyCodeOfUsage(usage), kNoKey) << std::hex << usage.page << ":" << usage.id;
}

TEST(VirtualKeyTable, GenericAndSharedCodesMeanTheirStandardKeys) {
    struct Case {
        std::uint32_t vk;
        KeyCode code;
    };
    const Case cases[] = {
        {0x10, 0x02A}, {0x11, 0x01D}, {0x12, 0x038}, {0x2C, 0x137}, {0x0D, 0x01C}, {0xA1, 0x036},
        {0x24, 0x147}, {0x67, 0x047}, {0x13, 0x045}, {0x03, 0x146}, {0x90, 0x145}, {0xAF, 0x130},
        {0x5F, 0x15F}, {0xE2, 0x056},
        // Mouse buttons, pointer and application functions, and unassigned codes.
        {0x01, 0}, {0x02, 0}, {0x04, 0}, {0x88, 0}, {0x8B, 0}, {0x8C, 0}, {0x97, 0}, {0x9C, 0},
        {0x9F, 0}, {0xFF, 0}, {0x00, 0}, {0x0100, 0}, {0xFFFFFFFF, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(keyCodeOfVirtualKey(c.vk), c.code) << std::hex << c.vk;
}

TEST(KeyMessage, ScanCodeWinsWhenItAgreesWithTheVirtualKey) {
    struct Case {
        const char* what;
        KeyMessage message;
        KeyCode expected;
    };
    const Case cases[] = {
        {"keypad 7 with Num Lock off", {0x24, 0x00470001}, 0x047},
        {"gray Home", {0x24, 0x01470001}, 0x147},
        {"keypad 7 with Num Lock on", {0x67, 0x00470001}, 0x047},
        {"right Shift with its extended code", {0xA1, 0x01360001}, 0x136},
        {"right Shift scan code under any vk", {0x41, 0x00360001}, 0x036},
        {"injected without a scan code", {0x41, 0x00000001}, 0x01E},
        {"key up with repeat and transition bits", {0x41, 0xC01E0001}, 0x01E},
        {"generic Shift from the left key", {0x10, 0x002A0001}, 0x02A},
        {"vk without a key keeps the scan code", {0xFF, 0x00700001}, 0x070},
        {"scan code contradicting the vk", {0x41, 0x00300001}, 0x01E},
        {"vk beyond a byte falls back to no key", {0x141, 0x00300001}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(keyCodeFromKeyMessage(c.message), c.expected) << c.what;
}

TEST(KeySelectionList, IsTheInverseOfTheListPositions) {
    EXPECT_EQ(keyCodeAtListPosition(103), 0x036);
    EXPECT_EQ(listPositionOf(0x136), 103);
    EXPECT_EQ(keyCodeAtListPosition(106), kNoKey);
    EXPECT_EQ(nameAtListPosition(106), u"");
    EXPECT_EQ(nameAtListPosition(64), u"Print Screen");
    EXPECT_EQ(nameAtListPosition(73), u"\u2191");
    std::set<KeyCode> distinct(kKeySelectionList.begin(), kKeySelectionList.end());
    EXPECT_EQ(distinct.size(), kKeySelectionList.size());
    for (std::uint32_t position = 0; position < kKeySelectionList.size(); ++position)
        EXPECT_EQ(listPositionOf(keyCodeAtListPosition(position)), position);
}

TEST(KeyKinds, SinglePhaseAndMediaKeys) {
    std::vector<KeyCode> singlePhase, media;
    for (unsigned code = 0; code < 0x200; ++code) {
        if (isSinglePhaseKey(static_cast<KeyCode>(code))) singlePhase.push_back(static_cast<KeyCode>(code));
        if (isMediaKeyCode(static_cast<KeyCode>(code))) media.push_back(static_cast<KeyCode>(code));
    }
    EXPECT_EQ(singlePhase, (std::vector<KeyCode>{0x054, 0x071, 0x072, 0x137}));
    EXPECT_EQ(media.size(), 18u);
    for (std::size_t i = 0; i < kMediaFunctionTable.size(); ++i) {
        const MediaFunction& function = kMediaFunctionTable[i];
        EXPECT_EQ(usageOfKeyCode(function.keyCode), (HidUsage{kConsumerPage, function.consumerUsage}));
        EXPECT_NE(keyInfoOf(function.keyCode).vk, 0);
    }
}

}  // namespace
}  // namespace quillmar::keyboard
