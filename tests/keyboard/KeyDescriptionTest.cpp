#include "keyboard/KeyDescription.h"

#include "MarkedTexts.h"

#include <gtest/gtest.h>

namespace quillmar::keyboard {
namespace {

using testing::MarkedTexts;

KeyAssignment assignment(AssignmentType type, std::uint32_t value = 0) {
    KeyAssignment record;
    record.type = type;
    record.value = value;
    return record;
}

std::u16string macroName(std::uint32_t id) { return id == 4 ? u"Combo" : u""; }

TEST(DescribeKey, TooltipNamesTheKeyAndWhatItWasGiven) {
    const text::BuiltInTexts texts;
    struct Case {
        KeyAssignment record;
        KeyDescription expected;
    };
    const Case cases[] = {
        {assignment(AssignmentType::Default), {false, u"A"}},
        {assignment(AssignmentType::Key, 0x02A), {true, u"AKeys, Set: Key(Shift)"}},
        {assignment(AssignmentType::PlayMacro, 4), {true, u"AKeys, Set: Macro(Combo)"}},
        {assignment(AssignmentType::PlayMacro, 5), {true, u"AKeys, Set: Macro()"}},
        {assignment(AssignmentType::Media, 7), {true, u"AKeys, Set: Media(Hello world)"}},
        {assignment(AssignmentType::Function, 8), {true, u"AKeys, Set: Function(Select All)"}},
        {assignment(AssignmentType::StopMacro), {true, u"AKeys, Set: "}},
        {assignment(AssignmentType::Disabled), {true, u"AKeys, Set: "}},
        {assignment(AssignmentType::LaunchProgram), {true, u"AKeys, Set: "}},
        {assignment(AssignmentType::Media, 18), {true, u"AKeys, Set: "}},
        {assignment(AssignmentType::Function, 0xFFFFFFFF), {true, u"AKeys, Set: "}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describeKey(0x01E, c.record, texts, macroName), c.expected)
            << "type " << static_cast<int>(c.record.type) << " value " << c.record.value;
}

TEST(DescribeKey, EveryWordComesFromTheStringTable) {
    const MarkedTexts texts;
    EXPECT_EQ(describeKey(0x130, assignment(AssignmentType::Media, 6), texts).tooltip,
              u"<MEDIA_V_ADD_7><KEY_PROMPT_SET><KEY_PROMPT_MEDIA><MEDIA_V_ADD_7>)");
    EXPECT_EQ(describeKey(0x055, assignment(AssignmentType::Function, 10), texts).tooltip,
              u"<UNKNOWN_KEY><KEY_PROMPT_SET><KEY_PROMPT_FUNCTION><FUNC_KEY_DESC11>)");
    EXPECT_EQ(describeKey(0x01E, assignment(AssignmentType::Key, 0x01F), texts).tooltip,
              u"A<KEY_PROMPT_SET><KEY_PROMPT_SINGLE>S)");
    EXPECT_EQ(describeKey(0x01E, assignment(AssignmentType::PlayMacro, 4), texts).tooltip,
              u"A<KEY_PROMPT_SET><KEY_PROMPT_MACRO>)") << "no macro names known";
}

TEST(DescribeGKey, NamesTheGKeyByItsNumber) {
    const text::BuiltInTexts texts;
    EXPECT_EQ(describeGKey(3, assignment(AssignmentType::Default), texts), (KeyDescription{false, u"G3"}));
    EXPECT_EQ(describeGKey(9, assignment(AssignmentType::PlayMacro, 4), texts, macroName),
              (KeyDescription{true, u"G9Keys, Set: Macro(Combo)"}));
}

}  // namespace
}  // namespace quillmar::keyboard
