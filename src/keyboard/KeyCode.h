#pragma once

#include <cstdint>

namespace quillmar::keyboard {

// Set-1 make code of a key, plus 0x100 when the make code carries the E0
// prefix (Pause is 0x45, Num Lock 0x145). 0 means no key.
using KeyCode = std::uint16_t;

// Compact 8-bit form of a KeyCode: indexes per-key tables and is the
// assignment slot of an ordinary key.
using KeyIndex = std::uint8_t;

struct HidUsage {
    std::uint16_t page = 0;
    std::uint16_t id = 0;
    friend constexpr bool operator==(const HidUsage&, const HidUsage&) = default;
};

inline constexpr std::uint16_t kGenericDesktopPage = 0x01;
inline constexpr std::uint16_t kKeyboardPage = 0x07;
inline constexpr std::uint16_t kConsumerPage = 0x0C;

inline constexpr KeyCode kNoKey = 0;

constexpr KeyIndex keyIndexOf(KeyCode code) {
    return code < 0x100 ? static_cast<KeyIndex>(code) : static_cast<KeyIndex>((code - 0x80) & 0xFF);
}

constexpr KeyCode keyCodeOf(KeyIndex index) {
    return index < 0x80 ? KeyCode{index} : static_cast<KeyCode>(index + 0x80);
}

// Codes that belong to a key: 0x001..0x07F and 0x101..0x17F. Others would
// alias another key's index, so per-key tables must not be read for them.
constexpr bool isValidKeyCode(KeyCode code) {
    return code != kNoKey && keyCodeOf(keyIndexOf(code)) == code && code != 0x100;
}

}  // namespace quillmar::keyboard
