#pragma once

#include "config/MacroList.h"
#include "keyboard/KeyAssignment.h"

#include <cstdint>
#include <map>
#include <span>

namespace quillmar::config {

// Where each macro id sits in a list. The keyboard's key blocks name macros
// by these positions, not by id.
using MacroPositions = std::map<std::uint32_t, int>;
MacroPositions macroPositionsOf(const MacroList& list);

// Whether a play-macro key of the keyboard's profiles, other than
// exceptProfile (-1 for none), would now play another macro: its macro sits
// at another position, or is gone.
bool playedMacrosMoved(std::span<const keyboard::KeyAssignment> records, const MacroPositions& before,
                       const MacroPositions& after, int exceptProfile);

}  // namespace quillmar::config
