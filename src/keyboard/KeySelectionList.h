#pragma once

#include "keyboard/KeyCode.h"
#include "keyboard/KeyInfoTable.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quillmar::keyboard {

inline constexpr int kKeySelectionListSize = 106;

namespace detail {

// The list is the inverse of the listPosition column; where two rows claim a
// position the first in index order stands for it.
constexpr std::array<KeyCode, kKeySelectionListSize> buildKeySelectionList() {
    std::array<KeyCode, kKeySelectionListSize> list{};
    int sharedPositions = 0;
    for (unsigned index = 0; index < kKeyInfoTable.size(); ++index) {
        const std::uint16_t position = kKeyInfoTable[index].listPosition;
        if (position == kNotInList) continue;
        if (position >= list.size()) throw "list position out of range";
        if (list[position] != kNoKey) {
            ++sharedPositions;
            continue;
        }
        list[position] = keyCodeOf(static_cast<KeyIndex>(index));
    }
    for (KeyCode code : list)
        if (code == kNoKey) throw "a list position has no key";
    // Only the two Right Shift rows share a position.
    if (sharedPositions != 1 || kKeyInfoTable[keyIndexOf(0x136)].listPosition != 103)
        throw "duplicate list position";
    return list;
}

}  // namespace detail

// The keys offered wherever the user picks a key from a list, in list order.
inline constexpr std::array<KeyCode, kKeySelectionListSize> kKeySelectionList =
    detail::buildKeySelectionList();

constexpr std::uint16_t listPositionOf(KeyCode code) {
    return keyInfoOf(code).listPosition;
}

constexpr KeyCode keyCodeAtListPosition(std::uint32_t position) {
    return position < kKeySelectionList.size() ? kKeySelectionList[position] : kNoKey;
}

constexpr std::u16string_view nameAtListPosition(std::uint32_t position) {
    return keyInfoOf(keyCodeAtListPosition(position)).name;
}

}  // namespace quillmar::keyboard
