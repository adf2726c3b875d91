// How the tool reads keys, targets and lighting settings from its command line.
#include <gtest/gtest.h>

#include "AssignmentArguments.h"
#include "LightingArguments.h"
#include "WindowReload.h"
#include "keyboard/DefaultKeyTable.h"
#include "keyboard/KeyEntryCodec.h"
#include "lighting/Colour.h"

namespace quillmar::ctl {
namespace {

using keyboard::AssignmentType;
using keyboard::kBuiltInDefaultKeyTable;

TEST(QuillmarctlArgumentsTest, KeyNamesFindTheSlotOfTheKeyOnTheLayout) {
    const auto slotAt = [](int position) {
        return keyboard::keyIndexOf(keyboard::keyOfPosition(keyboard::entryAt(kBuiltInDefaultKeyTable, position)));
    };
    EXPECT_EQ(slotOfKeyName("A", kBuiltInDefaultKeyTable), 0x1E);
    EXPECT_EQ(slotOfKeyName("caps LOCK", kBuiltInDefaultKeyTable), 0x3A);
    EXPECT_EQ(slotOfKeyName("Right Shift", kBuiltInDefaultKeyTable), slotAt(100)) << "the one of two namesakes on the layout";
    EXPECT_EQ(slotOfKeyName("\u2191", kBuiltInDefaultKeyTable), slotAt(93)) << "names beyond ASCII";
    EXPECT_EQ(slotOfKeyName("G1", kBuiltInDefaultKeyTable), 0x100);
    EXPECT_EQ(slotOfKeyName("g9", kBuiltInDefaultKeyTable), 0x108);
    for (const char* name : {"G0", "G10", "Nokey", "", "Power"})
        EXPECT_FALSE(slotOfKeyName(name, kBuiltInDefaultKeyTable)) << name;
}

TEST(QuillmarctlArgumentsTest, TargetsAndTheirRanges) {
    struct Case {
        const char* text;
        std::optional<AssignmentType> type;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"default", AssignmentType::Default, 0},   {"disabled", AssignmentType::Disabled, 0},
        {"key:Right Ctrl", AssignmentType::Key, 0x11D}, {"key:power", AssignmentType::Key, 0x15E},
        {"media:0", AssignmentType::Media, 0},     {"media:17", AssignmentType::Media, 17},
        {"function:10", AssignmentType::Function, 10}, {"macro:100", AssignmentType::PlayMacro, 100},
        {"media:18", std::nullopt, 0},             {"function:-1", std::nullopt, 0},
        {"macro:0", std::nullopt, 0},              {"macro:101", std::nullopt, 0},
        {"media:1x", std::nullopt, 0},             {"key:", std::nullopt, 0},
        {"Default", std::nullopt, 0},              {"stop", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        const auto target = parseAssignmentTarget(c.text);
        ASSERT_EQ(target.has_value(), c.type.has_value()) << c.text;
        if (!target) continue;
        EXPECT_EQ(target->type, *c.type) << c.text;
        EXPECT_EQ(target->value, c.value) << c.text;
    }
}

TEST(QuillmarctlArgumentsTest, LightingSettings) {
    using Kind = LightingSettingKind;
    struct Case {
        const char* text;
        std::optional<Kind> kind;
        int value;
    };
    const Case cases[] = {
        {"effect=20", Kind::Effect, 20},
        {"brightness=4", Kind::Brightness, 4},
        {"speed=0", Kind::Speed, 0},
        {"direction=255", Kind::Direction, 255},
        {"direction=0", Kind::Direction, 0},
        {"colour=a0B1c2", Kind::Colour, static_cast<int>(lighting::colourFromRgb(0xA0, 0xB1, 0xC2))},
        {"multicolour=1", Kind::Multicolour, 1},
        {"fixed=3", Kind::FixedColour, 3},
        {"effect=0", std::nullopt, 0},
        {"direction=128", std::nullopt, 0},
        {"colour=+12345", std::nullopt, 0},
        {"colour=1234567", std::nullopt, 0},
        {"fixed=4", std::nullopt, 0},
        {"speed", std::nullopt, 0},
        {"Speed=1", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        const auto setting = parseLightingSetting(c.text);
        ASSERT_EQ(setting.has_value(), c.kind.has_value()) << c.text;
        if (!setting) continue;
        EXPECT_EQ(setting->kind, *c.kind) << c.text;
        EXPECT_EQ(setting->value, c.value) << c.text;
    }
}

TEST(QuillmarctlArgumentsTest, ARestoreAsksARunningWindowToReadTheKeyboardAgain) {
    const struct {
        const char* command;
        bool changes;
    } cases[] = {{"restore", true}, {"import", true}, {"backup", false}, {"backups", false}};
    for (const auto& c : cases)
        EXPECT_EQ(changesTheKeyboard(Invocation{"sim", c.command, {"20261210-170512"}}), c.changes) << c.command;
}

}  // namespace
}  // namespace quillmar::ctl
