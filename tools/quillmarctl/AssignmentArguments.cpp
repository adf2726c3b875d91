#include "AssignmentArguments.h"

#include "ArgumentParsing.h"

#include "config/MacroRecord.h"
#include "keyboard/FunctionKeyTable.h"
#include "keyboard/KeyEntryCodec.h"
#include "keyboard/KeyNameLookup.h"
#include "keyboard/KeyPositions.h"
#include "keyboard/KeySlots.h"
#include "keyboard/MediaFunctionTable.h"
#include "text/Utf.h"

#include <algorithm>

namespace quillmar::ctl {
namespace {

using keyboard::AssignmentType;
using keyboard::KeyCode;

bool isOnLayout(KeyCode code, const keyboard::DefaultKeyTable& layout) { return keyboard::hasKeyPosition(code, layout); }

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

std::optional<int> gKeyNumber(std::string_view name) {
    if (name.size() != 2 || (name[0] != 'G' && name[0] != 'g')) return std::nullopt;
    return parseNumberInRange(name.substr(1), 1, keyboard::kGKeyCount);
}

std::string whyNotTarget(std::string_view text) {
    const auto parts = splitKind(text);
    const std::string_view kind = parts ? parts->first : std::string_view{};
    if (kind == "key") return "unknown key '" + std::string(parts->second) + "'";
    if (kind == "media") return "media must be 0-17";
    if (kind == "function") return "function must be 0-10";
    if (kind == "macro") return "macro must be 1-100";
    return "unknown target '" + std::string(text) +
           "'; a target is default, disabled, key:NAME, media:0-17, function:0-10 or macro:ID";
}

std::string whyNotGKey(int gKey, const AssignmentTarget& target) {
    const std::string name = "G" + std::to_string(gKey);
    if (gKey == keyboard::kGKeyCount && target.type != AssignmentType::PlayMacro)
        return name + " only plays macros";
    return "the keyboard keeps no G-key assignments, so a remap of " + name +
           " would be lost the next time the keyboard is read; use the program's window for G-keys";
}

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
    const std::vector<KeyCode> codes = keyboard::keyCodesNamed(text::toUtf16(name));
    if (codes.empty()) return std::nullopt;
    const auto onLayout = std::ranges::find_if(codes, [&layout](KeyCode code) { return isOnLayout(code, layout); });
    return onLayout != codes.end() ? *onLayout : codes.front();
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
