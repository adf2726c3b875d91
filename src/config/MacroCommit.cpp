#include "config/MacroCommit.h"

#include <algorithm>
#include <bitset>
#include <new>
#include <optional>

namespace quillmar::config {
namespace {

using keyboard::AssignmentType;
using keyboard::KeyAssignment;

bool isValidList(const MacroList& list) {
    if (list.size() > kMaxMacros) return false;
    std::bitset<kLastMacroId + 1> seen;
    for (const MacroRecord& macro : list) {
        if (macro.id < kFirstMacroId || macro.id > kLastMacroId || seen.test(macro.id)) return false;
        seen.set(macro.id);
    }
    return true;
}

std::optional<MacroList> committedCopies(const MacroList& list) {
    try {
        MacroList copies(list);
        for (MacroRecord& copy : copies) {
            copy.unsaved = 0;
            normaliseMacroRecord(copy);
        }
        return copies;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

// A key may keep its macro id only when the list has a macro with that id
// which existed before the editor opened or was committed since.
bool keepsItsMacro(const KeyAssignment& record, const MacroList& list) {
    const auto found = std::find_if(list.begin(), list.end(),
                                    [&](const MacroRecord& macro) { return macro.id == record.value; });
    return found != list.end() && found->unsaved == 0;
}

bool repointPlayMacroKeys(ConfigStore& working, const MacroList& list, const KeyResetHandler& onKeyReset) {
    bool changed = false;
    auto records = working.records();
    for (int index = 0; index < kAssignmentRecordCount; ++index) {
        KeyAssignment& record = records[static_cast<std::size_t>(index)];
        if (record.type != AssignmentType::PlayMacro) continue;
        if (record.value == 0) {
            if (list.empty()) continue;
            record.value = list.front().id;
            changed = true;
        } else if (!keepsItsMacro(record, list)) {
            record.type = AssignmentType::Default;
            record.value = 0;
            changed = true;
            if (onKeyReset) onKeyReset(index);
        }
    }
    return changed;
}

}  // namespace

MacroCommitResult commitMacros(ConfigStore& working, MacroList& editedList,
                               const KeyResetHandler& onKeyReset) {
    if (!isValidList(editedList)) return {MacroCommitStatus::InvalidList, false};
    std::optional<MacroList> copies = committedCopies(editedList);
    if (!copies) return {MacroCommitStatus::OutOfMemory, false};

    MacroCommitResult result;
    {
        auto held = working.lock();
        result.assignmentsChanged = repointPlayMacroKeys(working, editedList, onKeyReset);
        working.replaceMacros(std::move(*copies));
    }
    for (MacroRecord& macro : editedList) macro.unsaved = 0;
    return result;
}

}  // namespace quillmar::config
