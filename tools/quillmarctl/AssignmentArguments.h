#pragma once

#include "keyboard/DefaultKeyTable.h"
#include "keyboard/KeyAssignment.h"
#include "keyboard/KeyCode.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillmar::ctl {

// What a key is given, as the user writes it: "default", "disabled",
// "key:NAME", "media:INDEX" (0-17), "function:INDEX" (0-10) or "macro:ID".
struct AssignmentTarget {
    keyboard::AssignmentType type = keyboard::AssignmentType::Default;
    std::uint32_t value = 0;  // key code, media or function index, macro id
};

std::optional<AssignmentTarget> parseAssignmentTarget(std::string_view text);

// Why parseAssignmentTarget refused the text, in a sentence for the user.
// Starts with "unknown key" when the text names no key.
std::string whyNotTarget(std::string_view text);

// Why a G-key cannot be remapped from the command line; gKey is 1-9.
std::string whyNotGKey(int gKey, const AssignmentTarget& target);

// The G-key number (1-9) of a name "G1" to "G9".
std::optional<int> gKeyNumber(std::string_view name);

// The key of that name in the key tables (case does not matter); among keys
// of the same name, the first one on the layout when there is one.
std::optional<keyboard::KeyCode> keyCodeOfName(std::string_view name,
                                               const keyboard::DefaultKeyTable& layout = keyboard::kBuiltInDefaultKeyTable);

// The assignment slot of a key named as above that sits on the layout, or of
// G1 to G9 (bank A).
std::optional<int> slotOfKeyName(std::string_view name, const keyboard::DefaultKeyTable& layout);

// Gives the slot's record the target; loopCount is what a macro key plays.
void assignTarget(keyboard::KeyAssignment& record, int slot, const AssignmentTarget& target,
                  std::uint16_t loopCount);

}  // namespace quillmar::ctl
