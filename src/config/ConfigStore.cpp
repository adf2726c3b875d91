#include "config/ConfigStore.h"

#include <algorithm>

namespace quillmar::config {

using keyboard::AssignmentType;
using keyboard::KeyAssignment;

ConfigStore::ConfigStore() : block_(std::make_unique<AssignmentBlock>()) {}

std::uint16_t ConfigStore::macroCount() const {
    auto held = lock();
    return static_cast<std::uint16_t>(macros_.size());
}

int ConfigStore::findMacroIndexById(std::uint32_t id) const {
    auto held = lock();
    const auto found = std::find_if(macros_.begin(), macros_.end(),
                                    [id](const MacroRecord& macro) { return macro.id == id; });
    return found == macros_.end() ? 0 : static_cast<int>(found - macros_.begin());
}

std::uint16_t ConfigStore::macroIdAt(int position) const {
    auto held = lock();
    if (position < 0 || static_cast<std::size_t>(position) >= macros_.size()) return 0;
    return macros_[static_cast<std::size_t>(position)].id;
}

void ConfigStore::replaceMacros(MacroList&& macros) {
    MacroList old;
    {
        auto held = lock();
        old.swap(macros_);
        macros_ = std::move(macros);
    }
}

void ConfigStore::releaseMacros() {
    replaceMacros(MacroList{});
}

bool ConfigStore::isMacroUsedByKeys(const MacroRecord& macro) const {
    if (macro.unsaved != 0) return false;
    auto held = lock();
    return std::any_of(block_->records.begin(), block_->records.end(), [&](const KeyAssignment& record) {
        return record.type == AssignmentType::PlayMacro && record.value == macro.id;
    });
}

}  // namespace quillmar::config
