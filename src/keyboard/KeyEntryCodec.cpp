#include "keyboard/KeyEntryCodec.h"

#include "keyboard/EffectiveAssignment.h"
#include "keyboard/FunctionKeyTable.h"
#include "keyboard/KeyUsage.h"
#include "keyboard/MediaFunctionTable.h"

namespace quillmar::keyboard {

namespace {

constexpr DeviceKeyEntry kNoFunction{};

std::uint16_t sixteenBitUsage(DeviceKeyEntry entry) {
    return static_cast<std::uint16_t>(entry.byte1 | (entry.byte2 << 8));
}

DeviceKeyEntry encodeKey(std::uint32_t value) {
    if (value > 0xFFFF) return {entry_kind::kKeyboard, keyboard_entry::kUsage, 0};
    const auto code = static_cast<KeyCode>(value);
    if (const auto bit = modifierBitOf(code))
        return {entry_kind::kKeyboard, keyboard_entry::kModifiers, static_cast<std::uint8_t>(*bit)};
    const HidUsage usage = usageOfKeyCode(code);
    const auto id = usage.page == kKeyboardPage ? static_cast<std::uint8_t>(usage.id) : std::uint8_t{0};
    return {entry_kind::kKeyboard, keyboard_entry::kUsage, id};
}

// A macro that no longer exists is sent as the keyboard's first macro
// (position 0), as the list's first macro is what such a key falls back to.
DeviceKeyEntry encodePlayMacro(std::uint32_t macroId, const MacroPositionLookup& macroPositionOf) {
    const int position = macroPositionOf ? macroPositionOf(macroId) : -1;
    const auto byte = position < 0 ? std::uint8_t{0} : static_cast<std::uint8_t>(position);
    return {entry_kind::kMacro, macro_entry::kPlayMacro, byte};
}

DeviceKeyEntry encodeMedia(std::uint32_t index) {
    const std::uint16_t usage = kMediaFunctionTable[index].consumerUsage;
    return {entry_kind::kConsumer, static_cast<std::uint8_t>(usage & 0xFF), static_cast<std::uint8_t>(usage >> 8)};
}

KeyAssignment record(AssignmentType type, std::uint32_t value = 0) {
    KeyAssignment result;
    result.type = type;
    result.value = value;
    return result;
}

KeyAssignment decodeMacroEntry(DeviceKeyEntry entry) {
    switch (entry.byte1) {
    case macro_entry::kPlayMacro:
        return record(AssignmentType::PlayMacro, entry.byte2 + 1u);
    case macro_entry::kStopMacro:
        return record(AssignmentType::StopMacro);
    case macro_entry::kFunction:
        if (entry.byte2 < kFunctionKeyTable.size()) return record(AssignmentType::Function, entry.byte2);
        return record(AssignmentType::Disabled);
    default:
        return record(AssignmentType::Disabled);
    }
}

KeyAssignment decodeKeyboardEntry(DeviceKeyEntry entry) {
    const KeyCode code = entry.byte1 == keyboard_entry::kUsage ? keyCodeOfUsage({kKeyboardPage, entry.byte2})
                         : entry.byte1 == keyboard_entry::kModifiers ? keyCodeOfModifierBits(entry.byte2)
                                                                      : kNoKey;
    // A keyboard entry without a key does nothing; a Key record of no key
    // would only show as an unknown key.
    if (code == kNoKey) return record(AssignmentType::Disabled);
    return record(AssignmentType::Key, code);
}

}  // namespace

KeyCode keyOfPosition(DeviceKeyEntry defaultEntry) {
    switch (defaultEntry.kind) {
    case entry_kind::kKeyboard:
        if (defaultEntry.byte1 == keyboard_entry::kUsage) return keyCodeOfUsage({kKeyboardPage, defaultEntry.byte2});
        return keyCodeOfModifierBits(defaultEntry.byte2);
    case entry_kind::kConsumer:
        return keyCodeOfUsage({kConsumerPage, sixteenBitUsage(defaultEntry)});
    case entry_kind::kGenericDesktop:
        return keyCodeOfUsage({kGenericDesktopPage, sixteenBitUsage(defaultEntry)});
    default:
        return kNoKey;
    }
}

DeviceKeyEntry encodeKeyEntry(const KeyAssignment& record, DeviceKeyEntry defaultEntry,
                              const MacroPositionLookup& macroPositionOf) {
    switch (effectiveType(record)) {
    case AssignmentType::Disabled:
    case AssignmentType::TextBlock:
        return kNoFunction;
    case AssignmentType::Key:
        return encodeKey(record.value);
    case AssignmentType::PlayMacro:
        return encodePlayMacro(record.value, macroPositionOf);
    case AssignmentType::StopMacro:
        return {entry_kind::kMacro, macro_entry::kStopMacro, 0};
    case AssignmentType::Media:
        return encodeMedia(record.value);
    case AssignmentType::Function:
        return {entry_kind::kMacro, macro_entry::kFunction, static_cast<std::uint8_t>(record.value)};
    case AssignmentType::Default:
    case AssignmentType::LaunchProgram:
    default:
        return defaultEntry;
    }
}

KeyAssignment decodeKeyEntry(DeviceKeyEntry entry, DeviceKeyEntry defaultEntry) {
    if (entry == defaultEntry) return record(AssignmentType::Default);
    switch (entry.kind) {
    case entry_kind::kMacro:
        return decodeMacroEntry(entry);
    case entry_kind::kConsumer:
        if (const auto media = mediaIndexOfUsage(sixteenBitUsage(entry)))
            return record(AssignmentType::Media, static_cast<std::uint32_t>(*media));
        return record(AssignmentType::Disabled);
    case entry_kind::kKeyboard:
        return decodeKeyboardEntry(entry);
    default:
        return record(AssignmentType::Disabled);
    }
}

}  // namespace quillmar::keyboard
