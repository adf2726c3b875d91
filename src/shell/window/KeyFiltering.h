#pragma once

namespace quillmar::shell::main_window {

// Virtual-key codes the main window's keyboard filtering looks at.
inline constexpr int kVirtualKeyReturn = 0x0D;
inline constexpr int kVirtualKeyEscape = 0x1B;
inline constexpr int kVirtualKeyLeft = 0x25;
inline constexpr int kVirtualKeyDown = 0x28;
inline constexpr int kVirtualKeyScrollLock = 0x91;

// Whether a key press or release is kept from the window: Enter and Escape
// always, so the window never closes by keyboard; the arrow keys while the
// effect list has the focus, so they never change the lighting effect.
constexpr bool swallowsKey(int virtualKey, bool focusOnEffectList) {
    if (virtualKey == kVirtualKeyReturn || virtualKey == kVirtualKeyEscape) return true;
    return focusOnEffectList && virtualKey >= kVirtualKeyLeft && virtualKey <= kVirtualKeyDown;
}

}  // namespace quillmar::shell::main_window
