#pragma once

#include "keyboard/KeyCode.h"

#include <array>
#include <cstdint>
#include <optional>

namespace quillmar::keyboard {

// The keyboard's form of one assignment at one position of its key table.
struct DeviceKeyEntry {
    std::uint8_t kind = 0;
    std::uint8_t byte1 = 0;
    std::uint8_t byte2 = 0;
    friend constexpr bool operator==(const DeviceKeyEntry&, const DeviceKeyEntry&) = default;
};

namespace entry_kind {
inline constexpr std::uint8_t kNone = 0;
inline constexpr std::uint8_t kKeyboard = 2;        // byte 1: kModifiers or kUsage
inline constexpr std::uint8_t kConsumer = 3;        // 16-bit usage, low byte first
inline constexpr std::uint8_t kGenericDesktop = 4;  // 16-bit usage, low byte first
inline constexpr std::uint8_t kMacro = 5;           // byte 1: kPlayMacro, kStopMacro or kFunction
}  // namespace entry_kind

namespace keyboard_entry {
inline constexpr std::uint8_t kModifiers = 1;
inline constexpr std::uint8_t kUsage = 2;
}  // namespace keyboard_entry

namespace macro_entry {
inline constexpr std::uint8_t kPlayMacro = 1;
inline constexpr std::uint8_t kStopMacro = 2;
inline constexpr std::uint8_t kFunction = 5;
}  // namespace macro_entry

// The modifier bits of a keyboard entry and the keys they stand for.
enum class ModifierBit : std::uint8_t {
    LeftCtrl = 0x01,
    LeftShift = 0x02,
    LeftAlt = 0x04,
    LeftWindows = 0x08,
    RightCtrl = 0x10,
    RightShift = 0x20,
    RightAlt = 0x40,
    RightWindows = 0x80,
};

// Key codes of the modifier bits, lowest bit first.
inline constexpr std::array<KeyCode, 8> kModifierKeyCodes = {0x01D, 0x02A, 0x038, 0x15B,
                                                               0x11D, 0x036, 0x138, 0x15C};

constexpr std::optional<ModifierBit> modifierBitOf(KeyCode code) {
    for (unsigned bit = 0; bit < kModifierKeyCodes.size(); ++bit)
        if (kModifierKeyCodes[bit] == code) return static_cast<ModifierBit>(1u << bit);
    return std::nullopt;
}

// The key of the lowest set modifier bit; 0 when no bit is set.
constexpr KeyCode keyCodeOfModifierBits(std::uint8_t bits) {
    for (unsigned bit = 0; bit < kModifierKeyCodes.size(); ++bit)
        if (bits & (1u << bit)) return kModifierKeyCodes[bit];
    return kNoKey;
}

}  // namespace quillmar::keyboard
