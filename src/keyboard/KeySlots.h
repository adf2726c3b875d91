#pragma once

#include "keyboard/KeyAssignment.h"

#include <cstdint>
#include <optional>

namespace quillmar::keyboard {

// Which of the two banks the nine G-keys currently edit; the keyboard's bank
// key flips it.
enum class GKeyBank : std::uint8_t { A = 0, B = 1 };

constexpr int gKeySlotOf(int n, GKeyBank bank) {
    return (bank == GKeyBank::A ? kFirstGKeySlotBankA : kFirstGKeySlotBankB) + (n - 1);
}

constexpr bool isGKeySlot(int slot) {
    return slot >= kFirstGKeySlotBankA && slot < kFirstGKeySlotBankB + kGKeyCount;
}

// The G-key code a G slot's record carries in its extra field; 0 elsewhere.
constexpr std::uint16_t gKeyCodeOfSlot(int slot) {
    if (!isGKeySlot(slot)) return 0;
    if (slot < kFirstGKeySlotBankB) return static_cast<std::uint16_t>(0x0301 + (slot - kFirstGKeySlotBankA));
    return static_cast<std::uint16_t>(0x1301 + (slot - kFirstGKeySlotBankB));
}

// The G-key number (1..9) of a slot of the given bank.
constexpr std::optional<int> gKeyNumberOfSlot(int slot, GKeyBank bank) {
    const int n = slot - gKeySlotOf(1, bank) + 1;
    if (n < 1 || n > kGKeyCount) return std::nullopt;
    return n;
}

}  // namespace quillmar::keyboard
