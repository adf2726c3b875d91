#pragma once

#include "keyboard/KeyAssignment.h"
#include "keyboard/KeyDescription.h"
#include "keyboard/KeySlots.h"
#include "text/Texts.h"

#include <optional>
#include <span>
#include <vector>

namespace quillmar::keyboard {

// One profile's 512 records; the caller holds the configuration's lock.
using ProfileAssignments = std::span<KeyAssignment, kSlotsPerProfile>;

// A key button to redraw with the given look and tooltip.
struct KeyButtonUpdate {
    int buttonId = 0;
    KeyDescription description;
    friend bool operator==(const KeyButtonUpdate&, const KeyButtonUpdate&) = default;
};

// Sets a record back to Default: type and value cleared, extra back to the
// slot's G-key code (0 off the G slots). The colour-key flag and the
// reserved word belong to other concerns and stay.
void clearAssignment(KeyAssignment& record, int slot);

// Sets the assignments of the bank's nine G-keys and of every layout key
// back to Default; the other bank's G-keys keep theirs. Returns the buttons
// to redraw, G1..G9 first, then the layout keys in layout order.
std::vector<KeyButtonUpdate> restoreDefaultAssignments(ProfileAssignments records, GKeyBank bank,
                                                       const text::Texts& texts);

// Sets one record back to Default and returns the button showing it (a G-key
// of the active bank or a layout key), if any. An index outside the block
// changes nothing.
std::optional<KeyButtonUpdate> resetKeyButton(ProfileAssignments records, int recordIndex, GKeyBank bank,
                                              const text::Texts& texts);

}  // namespace quillmar::keyboard
