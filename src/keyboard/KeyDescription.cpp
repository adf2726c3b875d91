#include "keyboard/KeyDescription.h"

#include "keyboard/EffectiveAssignment.h"
#include "keyboard/FunctionKeyTable.h"
#include "keyboard/KeyName.h"
#include "keyboard/MediaFunctionTable.h"

namespace quillmar::keyboard {

namespace {

std::u16string gKeyName(int n) {
    std::u16string name = u"G";
    for (char digit : std::to_string(n)) name += static_cast<char16_t>(digit);
    return name;
}

// What follows the "set" text: the assignment's own name in parentheses, or
// nothing for types without one.
std::u16string assignmentDetail(const KeyAssignment& record, AssignmentType type, const text::Texts& texts,
                                const MacroNameLookup& macroNameOf) {
    switch (type) {
    case AssignmentType::Key:
        return texts.text("KEY_PROMPT_SINGLE", u"Key(") +
               (record.value <= 0xFFFF ? keyName(static_cast<KeyCode>(record.value), texts) : std::u16string{}) + u")";
    case AssignmentType::PlayMacro:
        return texts.text("KEY_PROMPT_MACRO", u"Macro(") + (macroNameOf ? macroNameOf(record.value) : u"") + u")";
    case AssignmentType::Media:
        return texts.text("KEY_PROMPT_MEDIA", u"Media(") +
               keyName(kMediaFunctionTable[record.value].keyCode, texts) + u")";
    case AssignmentType::Function: {
        const FunctionKey& function = kFunctionKeyTable[record.value];
        return texts.text("KEY_PROMPT_FUNCTION", u"Function(") + texts.text(function.nameKey, function.builtInName) +
               u")";
    }
    default:
        return {};
    }
}

KeyDescription describe(std::u16string name, const KeyAssignment& record, const text::Texts& texts,
                        const MacroNameLookup& macroNameOf) {
    const AssignmentType type = effectiveType(record);
    if (type == AssignmentType::Default) return {false, std::move(name)};
    return {true, name + texts.text("KEY_PROMPT_SET", u"Keys, Set: ") +
                      assignmentDetail(record, type, texts, macroNameOf)};
}

}  // namespace

KeyDescription describeKey(KeyCode code, const KeyAssignment& record, const text::Texts& texts,
                           const MacroNameLookup& macroNameOf) {
    return describe(keyName(code, texts), record, texts, macroNameOf);
}

KeyDescription describeGKey(int n, const KeyAssignment& record, const text::Texts& texts,
                            const MacroNameLookup& macroNameOf) {
    return describe(gKeyName(n), record, texts, macroNameOf);
}

}  // namespace quillmar::keyboard
