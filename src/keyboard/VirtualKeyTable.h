#pragma once

#include "keyboard/KeyCode.h"
#include "keyboard/KeyInfoTable.h"

#include <array>
#include <cstdint>

namespace quillmar::keyboard {

namespace detail {

// Virtual-key codes that stand for no key of a keyboard: mouse buttons, the
// pointer and application functions, and "no virtual-key code".
constexpr bool isPseudoVirtualKey(unsigned vk) {
    return vk == 0x01 || vk == 0x02 || vk == 0x04 || (vk >= 0x88 && vk <= 0x8C) ||
           (vk >= 0x97 && vk <= 0x9F) || vk == kNoVirtualKey;
}

constexpr std::array<KeyIndex, 256> buildVirtualKeyTable() {
    std::array<KeyIndex, 256> table{};
    for (unsigned index = 256; index-- > 0;) {
        const unsigned vk = kKeyInfoTable[index].vk;
        if (vk != 0 && !isPseudoVirtualKey(vk)) table[vk] = static_cast<KeyIndex>(index);
    }
    // The generic modifier codes mean the left keys; 0x2C is Print Screen, not Sys Req.
    table[0x10] = 0x2A;
    table[0x11] = 0x1D;
    table[0x12] = 0x38;
    table[0x2C] = keyIndexOf(0x137);
    return table;
}

}  // namespace detail

// KeyIndex of the key producing each virtual-key code (the first such row in
// index order); 0 for none.
inline constexpr std::array<KeyIndex, 256> kVirtualKeyTable = detail::buildVirtualKeyTable();

static_assert(kVirtualKeyTable[0x0D] == 0x1C, "Enter, not Num Enter");
static_assert(kVirtualKeyTable[0xA1] == 0x36, "the first Right Shift row");

constexpr KeyCode keyCodeOfVirtualKey(std::uint32_t vk) {
    return vk < kVirtualKeyTable.size() ? keyCodeOf(kVirtualKeyTable[vk]) : kNoKey;
}

}  // namespace quillmar::keyboard
