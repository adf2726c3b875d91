#include "profiles/ProfileFileContentCheck.h"

#include <algorithm>
#include <bitset>
#include <cstring>
#include <memory>

#include "config/AssignmentTextPacking.h"
#include "config/MacroRecord.h"
#include "keyboard/FunctionKeyTable.h"
#include "keyboard/KeyAssignment.h"
#include "keyboard/KeyCode.h"
#include "keyboard/MediaFunctionTable.h"
#include "profiles/ProfileFileFormat.h"

namespace quillmar::profiles {
namespace {

using keyboard::AssignmentType;
using keyboard::KeyAssignment;
using Problem = std::optional<ContentProblem>;

constexpr std::size_t kRecordsOffset = kProfileHeaderSize + kFixedBlock.size();

template <typename T>
T readAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

bool isKnownType(AssignmentType type) {
    return static_cast<std::uint16_t>(type) <= static_cast<std::uint16_t>(AssignmentType::Function);
}

bool isKeyCodeValue(std::uint32_t value) {
    return value <= 0xFFFF && keyboard::isValidKeyCode(static_cast<keyboard::KeyCode>(value));
}

bool valueFitsType(const KeyAssignment& record) {
    switch (record.type) {
    case AssignmentType::Key:
        return isKeyCodeValue(record.value);
    case AssignmentType::Media:
        return record.value < keyboard::kMediaFunctionTable.size();
    case AssignmentType::Function:
        return record.value < keyboard::kFunctionKeyTable.size();
    default:
        return true;
    }
}

// Macro actions read back from the keyboard may carry no key (0) where the
// keyboard held an entry the program does not know, so 0 is let through.
bool isActionKey(keyboard::KeyCode code) { return code == keyboard::kNoKey || keyboard::isValidKeyCode(code); }

Problem checkActions(const config::MacroRecord& macro, int number) {
    if (macro.actionCount > config::kMaxMacroActions) return ContentProblem{ContentFault::MacroTooManyActions, number};
    for (const config::MacroAction& action : config::macroActions(macro)) {
        if (!isActionKey(action.keyCode)) return ContentProblem{ContentFault::MacroActionKey, number};
        if (action.direction != config::KeyDirection::Press && action.direction != config::KeyDirection::Release)
            return ContentProblem{ContentFault::MacroActionDirection, number};
        if (action.delayMs > config::kMaxActionDelayMs) return ContentProblem{ContentFault::MacroActionDelay, number};
    }
    return std::nullopt;
}

Problem checkMacros(std::span<const std::uint8_t> bytes, int count) {
    std::bitset<config::kLastMacroId + 1> used;
    auto macro = std::make_unique<config::MacroRecord>();
    for (int position = 0; position < count; ++position) {
        const int number = position + 1;
        std::memcpy(macro.get(), bytes.data() + kAssignmentBlockSize + std::size_t(position) * kMacroRecordSize,
                    sizeof *macro);
        if (macro->id < config::kFirstMacroId || macro->id > config::kLastMacroId)
            return ContentProblem{ContentFault::MacroId, number};
        if (used.test(macro->id)) return ContentProblem{ContentFault::MacroIdRepeated, number};
        used.set(macro->id);
        if (std::find(macro->name.begin(), macro->name.end(), u'\0') == macro->name.end())
            return ContentProblem{ContentFault::MacroNameUnterminated, number};
        if (Problem problem = checkActions(*macro, number)) return problem;
    }
    return std::nullopt;
}

// One past the last even offset of the area at which a terminator starts; a
// text starting below it ends inside the area.
std::size_t endOfLastTerminator(std::span<const std::uint8_t> area) {
    for (std::size_t at = area.size() & ~std::size_t{1}; at >= 2; at -= 2) {
        if (area[at - 2] == 0 && area[at - 1] == 0) return at;
    }
    return 0;
}

// Offsets are taken rounded down to even, as the loader reads them. An offset
// equal to the area's size is how the writer marks a text it had none for.
Problem checkText(std::uint32_t value, std::span<const std::uint8_t> area, std::size_t terminatedBelow, int number) {
    const std::size_t offset = value & ~1u;
    if (offset > area.size()) return ContentProblem{ContentFault::TextOffset, number};
    if (offset < area.size() && offset >= terminatedBelow) return ContentProblem{ContentFault::TextUnterminated, number};
    return std::nullopt;
}

Problem checkRecords(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> textArea) {
    const std::size_t terminatedBelow = endOfLastTerminator(textArea);
    for (int index = 0; index < config::kAssignmentRecordCount; ++index) {
        const int number = index + 1;
        const auto record = readAt<KeyAssignment>(bytes, kRecordsOffset + std::size_t(index) * sizeof(KeyAssignment));
        if (!isKnownType(record.type)) return ContentProblem{ContentFault::AssignmentType, number};
        if (!valueFitsType(record)) return ContentProblem{ContentFault::AssignmentValue, number};
        if (config::carriesText(record)) {
            if (Problem problem = checkText(record.value, textArea, terminatedBelow, number)) return problem;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<ContentProblem> findContentProblem(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kProfileHeaderSize) return ContentProblem{};
    HeaderBytes headerBytes{};
    std::memcpy(headerBytes.data(), bytes.data(), headerBytes.size());
    const ProfileFileHeader header = decodeHeader(headerBytes);
    if (bytes.size() < declaredTotalSize(header)) return ContentProblem{};

    const std::size_t textStart = kAssignmentBlockSize + std::size_t{header.macroCount} * kMacroRecordSize;
    const auto textArea = bytes.subspan(textStart, header.textAreaSize);
    if (Problem problem = checkRecords(bytes, textArea)) return problem;
    return checkMacros(bytes, header.macroCount);
}

}  // namespace quillmar::profiles
