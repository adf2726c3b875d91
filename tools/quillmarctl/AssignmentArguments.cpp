#include "AssignmentArguments.h"

#include "ArgumentParsing.h"

#include "config/MacroRecord.h"
#include "keyboard/FunctionKeyTable.h"
#include "keyboard/KeyEntryCodec.h"
#include "keyboard/KeyInfoTable.h"
#include "keyboard/KeySlots.h"
#include "keyboard/MediaFunctionTable.h"
#include "text/Utf.h"

#include <algorithm>

namespace quillmar::ctl {
namespace {

using keyboard::AssignmentType;
using keyboard::KeyCode;

char16_t lowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool sameName(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, [](char16_t x, char16_t y) { return lowerAscii(x) == lowerAscii(y); });
}

bool isOnLayout(KeyCode code, const keyboard::DefaultKeyTable& layout) {
    for (int position = 0; position < keyboard::kKeyPositions; ++position)
        if (keyboard::keyOfPosition(keyboard::entryAt(layout, position)) == code) return true;
    return false;
}

std::optional<int> gKeyNumber(std::string_view name) {
    if (name.size() != 2 || (name[0] != 'G' && name[0] != 'g')) return std::nullopt;
    return parseNumberInRange(name.substr(1), 1, keyboard::kGKeyCount);
}

// "kind:VALUE" split at its colon; nothing without one.
std::optional<std::pair<std::string_view, std::string_view>> splitKind(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    return std::pair{text.substr(0, colon), text.substr(colon + 1)};
}

std::optional<AssignmentTarget> indexedTarget(AssignmentType type, std::string_view value, std::size_t count) {
    const auto index = parseNumberInRange(value, 0, static_cast<int>(count) - 1);
    if (!index) return std::nullopt;
    return AssignmentTarget{type, static_cast<std::uint32_t>(*index)};
}

}  // namespace

std::optional<AssignmentTarget> parseAssignmentTarget(std::string_view text) {
    if (text == "default") return AssignmentTarget{AssignmentType::Default};
    if (text == "disabled") return AssignmentTarget{AssignmentType::Disabled};
    const auto parts = splitKind(text);
    if (!parts) return std::nullopt;
    const auto [kind, value] = *parts;
    if (kind == "key") {
        const auto code = keyCodeOfName(value);
        if (!code) return std::nullopt;
        return AssignmentTarget{AssignmentType::Key, *code};
    }
    if (kind == "media") return indexedTarget(AssignmentType::Media, value, keyboard::kMediaFunctionTable.size());
    if (kind == "function") return indexedTarget(AssignmentType::Function, value, keyboard::kFunctionKeyTable.size());
    if (kind == "macro") {
        const auto id = parseNumberInRange(value, config::kFirstMacroId, config::kLastMacroId);
        if (!id) return std::nullopt;
        return AssignmentTarget{AssignmentType::PlayMacro, static_cast<std::uint32_t>(*id)};
    }
    return std::nullopt;
}

std::optional<KeyCode> keyCodeOfName(std::string_view name, const keyboard::DefaultKeyTable& layout) {
    const std::u16string wanted = text::toUtf16(name);
    std::optional<KeyCode> found;
    for (std::size_t index = 1; index < keyboard::kKeyInfoTable.size(); ++index) {
        const std::u16string_view keyName = keyboard::kKeyInfoTable[index].name;
        if (keyName.empty() || !sameName(keyName, wanted)) continue;
        const KeyCode code = keyboard::keyCodeOf(static_cast<keyboard::KeyIndex>(index));
        if (isOnLayout(code, layout)) return code;
        if (!found) found = code;
    }
    return found;
}

std::optional<int> slotOfKeyName(std::string_view name, const keyboard::DefaultKeyTable& layout) {
    if (const auto n = gKeyNumber(name)) return keyboard::gKeySlotOf(*n, keyboard::GKeyBank::A);
    const auto code = keyCodeOfName(name, layout);
    if (!code || !isOnLayout(*code, layout)) return std::nullopt;
    return keyboard::keyIndexOf(*code);
}

void assignTarget(keyboard::KeyAssignment& record, int slot, const AssignmentTarget& target, std::uint16_t loopCount) {
    record.type = target.type;
    record.value = target.value;
    record.extra = target.type == AssignmentType::PlayMacro ? loopCount : keyboard::gKeyCodeOfSlot(slot);
}

}  // namespace quillmar::ctl
