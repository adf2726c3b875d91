#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "config/MacroRecord.h"

namespace quillmar::config {

// An ordered list of macros: a store's macros or an editor's copies of them.
using MacroList = std::vector<MacroRecord>;

// The smallest id from 1 to 100 that no macro of the list uses; 0 when all
// are taken.
std::uint16_t allocateMacroId(const MacroList& list);

// A fresh macro for the list: the name, loop count 1, marked unsaved, no
// actions and the smallest free id.
MacroRecord newMacroRecord(std::u16string_view name, const MacroList& list);

enum class AddMacroResult {
    Added,
    ListFull,     // the list already holds 100 macros
    OutOfMemory,  // the list could not grow; it is unchanged
};

// Appends newMacroRecord(name, list) unless the list is full.
AddMacroResult appendNewMacro(MacroList& list, std::u16string_view name);

}  // namespace quillmar::config
