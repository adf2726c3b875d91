#include "keyboard/EvdevScanCodes.h"
#include "keyboard/KeyMessage.h"
#include "keyboard/LayoutKeyList.h"
#include "keyboard/MediaFunctionTable.h"

#include <gtest/gtest.h>

#include <map>

namespace quillmar::keyboard {
namespace {

// Every key the desktop reports for the drawn keyboard, and every media key,
// comes back from its hook message as itself.
TEST(KeyEventTest, EveryDrawnAndMediaKeyHasAnInputCodeAndSurvivesTheHookMessage) {
    std::map<KeyCode, std::uint32_t> evdevOf;
    for (std::uint32_t evdev = 0; evdev < 256; ++evdev)
        if (const auto code = keyCodeOfEvdev(evdev)) evdevOf.emplace(*code, evdev);
    const auto check = [&](KeyCode code) {
        EXPECT_TRUE(evdevOf.contains(code)) << std::hex << code;
        for (bool release : {false, true})
            EXPECT_EQ(keyCodeFromKeyMessage(keyMessageOfKeyEvent(code, release, false)), code) << std::hex << code;
    };
    for (const LayoutKey& key : kLayoutKeyList) check(key.keyCode);
    for (const MediaFunction& media : kMediaFunctionTable) check(media.keyCode);
}

TEST(KeyEventTest, HookMessageBits) {
    struct Case {
        bool release, repeat;
        std::uint32_t parameter;
    } cases[] = {
        {false, false, 0x011C0001}, {false, true, 0x411C0001}, {true, false, 0xC11C0001},
    };
    for (const Case& c : cases) {
        const KeyMessage message = keyMessageOfKeyEvent(0x11C, c.release, c.repeat);  // keypad Enter
        EXPECT_EQ(message.parameter, c.parameter);
        EXPECT_EQ(message.virtualKey, 0x0Du);
    }
    EXPECT_EQ(keyCodeOfEvdev(71), 0x047) << "keypad 7";
    EXPECT_EQ(keyCodeOfEvdev(102), 0x147) << "Home";
    EXPECT_EQ(keyCodeOfEvdev(69), 0x145) << "Num Lock";
    EXPECT_EQ(keyCodeOfEvdev(119), 0x045) << "Pause";
    EXPECT_FALSE(keyCodeOfEvdev(0));
    EXPECT_FALSE(keyCodeOfEvdev(240));
}

// The desktop's native scan code is the input event code plus 8; codes below
// that, and input codes no key has, give no message.
TEST(KeyEventTest, NativeScanCodeGivesTheKeysMessage) {
    const auto home = keyMessageOfNativeKey(102 + kNativeScanCodeOffset, true, false);
    ASSERT_TRUE(home);
    EXPECT_EQ(home->parameter, keyMessageOfKeyEvent(0x147, true, false).parameter);
    EXPECT_EQ(keyCodeFromKeyMessage(*home), 0x147);
    for (std::uint32_t native : {0u, 7u, 8u, 240u + kNativeScanCodeOffset, 0xFFFFFFFFu})
        EXPECT_FALSE(keyMessageOfNativeKey(native, false, false)) << native;
}

}  // namespace
}  // namespace quillmar::keyboard
