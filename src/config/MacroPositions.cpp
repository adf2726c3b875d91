#include "config/MacroPositions.h"

#include "config/AssignmentBlock.h"

namespace quillmar::config {

namespace {
constexpr int kKeyboardProfiles = 3;
}

MacroPositions macroPositionsOf(const MacroList& list) {
    MacroPositions positions;
    for (std::size_t i = 0; i < list.size(); ++i) positions.emplace(list[i].id, static_cast<int>(i));
    return positions;
}

bool playedMacrosMoved(std::span<const keyboard::KeyAssignment> records, const MacroPositions& before,
                       const MacroPositions& after, int exceptProfile) {
    for (int profile = 0; profile < kKeyboardProfiles; ++profile) {
        if (profile == exceptProfile) continue;
        for (int slot = 0; slot < keyboard::kSlotsPerProfile; ++slot) {
            const auto index = static_cast<std::size_t>(assignmentRecordIndex(profile, slot));
            if (index >= records.size()) return false;
            const keyboard::KeyAssignment& record = records[index];
            if (record.type != keyboard::AssignmentType::PlayMacro) continue;
            const auto was = before.find(record.value);
            const auto is = after.find(record.value);
            if (was == before.end() || is == after.end() || was->second != is->second) return true;
        }
    }
    return false;
}

}  // namespace quillmar::config
