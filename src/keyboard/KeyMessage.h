#pragma once

#include "keyboard/KeyCode.h"

#include <cstdint>
#include <optional>

namespace quillmar::keyboard {

// A key-down or key-up message as a keyboard hook sees it: the virtual-key
// code and the message parameter (bits 16..23 scan code, bit 24 extended key,
// bit 30 previous state, bit 31 transition).
struct KeyMessage {
    std::uint32_t virtualKey = 0;
    std::uint32_t parameter = 0;
};

// The key of a message: its scan code when that agrees with the virtual-key
// code (so keypad keys keep their codes whatever Num Lock says), otherwise
// the key of the virtual-key code.
KeyCode keyCodeFromKeyMessage(KeyMessage message);

// The message a hook would have seen for a key event of a known key: the
// key's own virtual-key code, its scan code and extended flag, bit 30 for a
// repeat or a release and bit 31 for a release.
KeyMessage keyMessageOfKeyEvent(KeyCode code, bool release, bool autoRepeat);

// The message of a key event as the desktop reports it (X11 or Wayland native
// scan code); none for a code that is no key of the table.
std::optional<KeyMessage> keyMessageOfNativeKey(std::uint32_t nativeScanCode, bool release, bool autoRepeat);

}  // namespace quillmar::keyboard
