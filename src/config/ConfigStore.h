#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "config/AssignmentBlock.h"
#include "config/AssignmentTexts.h"
#include "config/MacroList.h"
#include "keyboard/KeyAssignment.h"

namespace quillmar::config {

using StoreLock = std::unique_lock<std::recursive_mutex>;

// One configuration: the key assignment block, the macros and the
// assignment texts, guarded by one recursive lock.
//
// Every member function takes the lock itself. The accessors that hand out
// references (assignments(), records(), macros(), texts()) leave the lock to
// the caller: hold lock() for as long as the reference is used. The lock is
// recursive, so a holder may call any member function.
class ConfigStore {
public:
    ConfigStore();
    ConfigStore(const ConfigStore&) = delete;
    ConfigStore& operator=(const ConfigStore&) = delete;

    [[nodiscard]] StoreLock lock() const { return StoreLock(mutex_); }

    AssignmentBlock& assignments() { return *block_; }
    const AssignmentBlock& assignments() const { return *block_; }
    std::span<keyboard::KeyAssignment> records() { return block_->records; }
    std::span<const keyboard::KeyAssignment> records() const { return block_->records; }
    const MacroList& macros() const { return macros_; }
    AssignmentTexts& texts() { return texts_; }
    const AssignmentTexts& texts() const { return texts_; }

    std::uint16_t macroCount() const;

    // Position of the macro with the id, scanning from the first; 0 when no
    // macro has it (the keyboard then plays the first macro).
    int findMacroIndexById(std::uint32_t id) const;

    // Id of the macro at the position; 0 when there is none.
    std::uint16_t macroIdAt(int position) const;

    // Makes the list the store's macros, as given; the old ones are freed.
    void replaceMacros(MacroList&& macros);

    // Frees the macros; the count becomes 0.
    void releaseMacros();

    // Whether a key of any profile slot plays the macro. A macro created
    // since its editor last committed cannot be assigned yet.
    bool isMacroUsedByKeys(const MacroRecord& macro) const;

private:
    mutable std::recursive_mutex mutex_;
    std::unique_ptr<AssignmentBlock> block_;
    MacroList macros_;
    AssignmentTexts texts_;
};

}  // namespace quillmar::config
