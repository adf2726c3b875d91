#pragma once

#include "keyboard/ConsumerUsageTable.h"
#include "keyboard/KeyCode.h"
#include "keyboard/KeyInfoTable.h"

#include <array>
#include <cstdint>

namespace quillmar::keyboard {

namespace detail {

constexpr bool isGenericDesktopDeviceUsage(std::uint32_t b) { return b >= 0x81 && b <= 0x83; }

constexpr bool isConsumerDeviceUsage(std::uint32_t b) {
    return b >= kFirstConsumerDeviceUsage && b <= kLastConsumerDeviceUsage;
}

constexpr HidUsage usageOfDeviceUsage(std::uint8_t b) {
    if (b == 0x00 || b == 0xFF) return {};
    if (isGenericDesktopDeviceUsage(b)) return {kGenericDesktopPage, b};
    if (isConsumerDeviceUsage(b)) {
        const std::uint16_t id = kConsumerUsageTable[b - kFirstConsumerDeviceUsage];
        return id == 0 ? HidUsage{} : HidUsage{kConsumerPage, id};
    }
    return {kKeyboardPage, b};
}

// The device usage byte standing for a usage; 0 for none. Keyboard usages
// whose byte would read as another page, and the empty consumer entries,
// stand for no key.
constexpr std::uint8_t deviceUsageOf(HidUsage usage) {
    switch (usage.page) {
    case kKeyboardPage:
        if (usage.id > 0xFF || isGenericDesktopDeviceUsage(usage.id) || isConsumerDeviceUsage(usage.id))
            return 0;
        return static_cast<std::uint8_t>(usage.id);
    case kGenericDesktopPage:
        return isGenericDesktopDeviceUsage(usage.id) ? static_cast<std::uint8_t>(usage.id) : 0;
    case kConsumerPage:
        if (usage.id == 0) return 0;
        for (std::size_t i = 0; i < kConsumerUsageTable.size(); ++i)
            if (kConsumerUsageTable[i] == usage.id) return static_cast<std::uint8_t>(kFirstConsumerDeviceUsage + i);
        return 0;
    default:
        return 0;
    }
}

// The first key, in index order, with each device usage byte.
constexpr std::array<KeyCode, 256> buildKeyOfDeviceUsage() {
    std::array<KeyCode, 256> keys{};
    for (unsigned index = kKeyInfoTable.size(); index-- > 1;) {
        const std::uint8_t b = kKeyInfoTable[index].deviceUsage;
        if (b != 0 && b != 0xFF) keys[b] = keyCodeOf(static_cast<KeyIndex>(index));
    }
    return keys;
}

inline constexpr std::array<KeyCode, 256> kKeyOfDeviceUsage = buildKeyOfDeviceUsage();

}  // namespace detail

// The HID usage a key sends; (0, 0) for none.
constexpr HidUsage usageOfKeyCode(KeyCode code) {
    return detail::usageOfDeviceUsage(keyInfoOf(code).deviceUsage);
}

// The first key, in index order, that sends the usage; 0 for none.
constexpr KeyCode keyCodeOfUsage(HidUsage usage) {
    return detail::kKeyOfDeviceUsage[detail::deviceUsageOf(usage)];
}

}  // namespace quillmar::keyboard
