#pragma once

#include "keyboard/KeyCode.h"

#include <array>
#include <cstdint>
#include <optional>

namespace quillmar::keyboard {

// The key code (scan code set 1, 0x100 for E0-prefixed keys) of a Linux
// input event code. Codes 1 to 88 are the set-1 make codes themselves; the
// rest are the extended keys, the keys of other layouts and the media keys.
// Pause and Num Lock are swapped as the key code table keeps them.
namespace detail {

struct EvdevKey {
    std::uint16_t evdev;
    KeyCode code;
};

inline constexpr std::array<EvdevKey, 48> kEvdevBeyondBasicBlock = {{
    {69, 0x145},   // Num Lock
    {86, 0x056},   // the key beside Left Shift on 105-key layouts
    {89, 0x073},   // Ro
    {92, 0x079},   // Henkan
    {93, 0x070},   // Katakana/Hiragana
    {94, 0x07B},   // Muhenkan
    {96, 0x11C},   // keypad Enter
    {97, 0x11D},   // Right Ctrl
    {98, 0x135},   // keypad /
    {99, 0x137},   // Print Screen
    {100, 0x138},  // Right Alt
    {102, 0x147},  // Home
    {103, 0x148},  // Up
    {104, 0x149},  // Page Up
    {105, 0x14B},  // Left
    {106, 0x14D},  // Right
    {107, 0x14F},  // End
    {108, 0x150},  // Down
    {109, 0x151},  // Page Down
    {110, 0x152},  // Insert
    {111, 0x153},  // Delete
    {113, 0x120},  // Mute
    {114, 0x12E},  // Volume down
    {115, 0x130},  // Volume up
    {116, 0x15E},  // Power
    {117, 0x059},  // keypad =
    {119, 0x045},  // Pause
    {124, 0x07D},  // Yen
    {125, 0x15B},  // Left Super
    {126, 0x15C},  // Right Super
    {127, 0x15D},  // Menu
    {128, 0x168},  // browser Stop
    {140, 0x121},  // Calculator
    {142, 0x15F},  // Sleep
    {143, 0x163},  // Wake
    {155, 0x16C},  // Mail
    {156, 0x166},  // Favourites
    {157, 0x16B},  // My Computer
    {158, 0x16A},  // browser Back
    {159, 0x169},  // browser Forward
    {163, 0x119},  // Next track
    {164, 0x122},  // Play/Pause
    {165, 0x110},  // Previous track
    {166, 0x124},  // Stop
    {172, 0x132},  // browser Home
    {173, 0x167},  // browser Refresh
    {217, 0x165},  // Search
    {226, 0x16D},  // media player
}};

}  // namespace detail

// The X11 and Wayland native scan code is the input event code plus 8.
inline constexpr std::uint32_t kNativeScanCodeOffset = 8;

constexpr std::optional<KeyCode> keyCodeOfEvdev(std::uint32_t evdev) {
    for (const detail::EvdevKey& key : detail::kEvdevBeyondBasicBlock)
        if (key.evdev == evdev) return key.code;
    if (evdev >= 1 && evdev <= 88) return static_cast<KeyCode>(evdev);
    return std::nullopt;
}

}  // namespace quillmar::keyboard
