#pragma once

#include "keyboard/KeySlots.h"

#include <optional>
#include <string>

namespace quillmar::keyboard {

// G-key number (1..9) of a G button.
std::optional<int> gKeyNumberOfButton(int buttonId);

// Layout position (0..104) of a layout key's button.
std::optional<int> layoutPositionOfButton(int buttonId);

// The assignment slot a button edits: a layout key's KeyIndex, or the G slot
// of the bank; none for every other button.
std::optional<int> slotOfButton(int buttonId, GKeyBank bank);

// The button's light in the keyboard's light matrix (all G-keys share one).
std::optional<int> lightingPositionOf(int buttonId);

// The record whose colourKeyFlag holds the button's colour-key flag: the
// layout position for a layout key, the G slot of the bank for a G-key. G
// slots lie above every layout position, so no two buttons share a flag.
std::optional<int> colourKeyFlagRecordOf(int buttonId, GKeyBank bank);

// The button's key in the main skin file's "BUTTONINFO" section.
std::optional<std::string> skinNameOfButton(int buttonId);

}  // namespace quillmar::keyboard
