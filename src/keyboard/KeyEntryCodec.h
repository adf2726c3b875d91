#pragma once

#include "keyboard/DeviceKeyEntry.h"
#include "keyboard/KeyAssignment.h"
#include "keyboard/KeyCode.h"

#include <cstdint>
#include <functional>

namespace quillmar::keyboard {

// The 0-based position of a macro in the macro list, or -1 when no macro has
// the id (the key is then sent as playing the first macro).
using MacroPositionLookup = std::function<int(std::uint32_t macroId)>;

// The key sitting at a position, from the position's default entry; 0 when
// the position has no assignable key.
KeyCode keyOfPosition(DeviceKeyEntry defaultEntry);

// The entry to download for a record at a position with the given default.
DeviceKeyEntry encodeKeyEntry(const KeyAssignment& record, DeviceKeyEntry defaultEntry,
                              const MacroPositionLookup& macroPositionOf);

// The record (type and value; the rest zero) for an entry read from the keyboard.
KeyAssignment decodeKeyEntry(DeviceKeyEntry entry, DeviceKeyEntry defaultEntry);

}  // namespace quillmar::keyboard
