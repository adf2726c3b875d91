#include "keyboard/KeyMessage.h"

#include "keyboard/EvdevScanCodes.h"
#include "keyboard/KeyInfoTable.h"
#include "keyboard/VirtualKeyTable.h"

namespace quillmar::keyboard {

KeyCode keyCodeFromKeyMessage(KeyMessage message) {
    const std::uint32_t vk = message.virtualKey;
    const KeyCode fallback = keyCodeOfVirtualKey(vk);
    const auto scanned = static_cast<KeyCode>((message.parameter >> 16) & 0x1FF);
    const auto scannedLowByte = static_cast<std::uint8_t>(scanned & 0xFF);

    // Right Shift reports its own scan code under several virtual-key codes.
    if (scanned == 0x036) return scanned;
    if ((vk & 0xFF) == kNoVirtualKey) return scanned;
    if (scannedLowByte == 0) return fallback;  // injected without a scan code
    const KeyInfo& row = kKeyInfoTable[keyIndexOf(scanned)];
    if (row.vk == vk || row.altVk == vk) return scanned;
    if (vk < kVirtualKeyTable.size() && scannedLowByte == kVirtualKeyTable[vk]) return scanned;
    return fallback;
}

KeyMessage keyMessageOfKeyEvent(KeyCode code, bool release, bool autoRepeat) {
    constexpr std::uint32_t kRepeatCountOne = 1;
    constexpr std::uint32_t kExtended = 1u << 24;
    constexpr std::uint32_t kWasDown = 1u << 30;
    constexpr std::uint32_t kReleased = 1u << 31;
    const std::uint8_t vk = keyInfoOf(code).vk;
    std::uint32_t parameter = kRepeatCountOne | (static_cast<std::uint32_t>(code & 0xFF) << 16);
    if (code & 0x100) parameter |= kExtended;
    if (release || autoRepeat) parameter |= kWasDown;
    if (release) parameter |= kReleased;
    return {vk == 0 ? kNoVirtualKey : vk, parameter};
}

std::optional<KeyMessage> keyMessageOfNativeKey(std::uint32_t nativeScanCode, bool release, bool autoRepeat) {
    if (nativeScanCode < kNativeScanCodeOffset) return std::nullopt;
    const auto code = keyCodeOfEvdev(nativeScanCode - kNativeScanCodeOffset);
    if (!code) return std::nullopt;
    return keyMessageOfKeyEvent(*code, release, autoRepeat);
}

}  // namespace quillmar::keyboard
