#pragma once

#include <cstddef>
#include <cstdint>

#include "keyboard/KeyCode.h"

namespace quillmar::config {

enum class KeyDirection : std::uint16_t {
    Press = 0,
    Release = 1,
};

// Longest pause the keyboard can play after one action.
inline constexpr std::uint32_t kMaxActionDelayMs = 40000;

// One step of a macro; the same 8 bytes in memory and in the profile file
// (little-endian).
struct MacroAction {
    std::uint32_t delayMs = 0;  // pause after this action before the next one
    keyboard::KeyCode keyCode = 0;
    KeyDirection direction = KeyDirection::Press;
};
static_assert(sizeof(MacroAction) == 8);
static_assert(offsetof(MacroAction, keyCode) == 4);
static_assert(offsetof(MacroAction, direction) == 6);

// The action as the store keeps it: delay capped at the keyboard's maximum,
// any direction other than a release taken as a press.
constexpr MacroAction normalisedAction(MacroAction action) {
    if (action.delayMs > kMaxActionDelayMs) action.delayMs = kMaxActionDelayMs;
    if (action.direction != KeyDirection::Release) action.direction = KeyDirection::Press;
    return action;
}

}  // namespace quillmar::config
