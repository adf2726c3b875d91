#pragma once

#include <cstdint>

namespace quillmar::device {

// The main window's custom messages (lParam always 0) and their four-letter
// wParam tags.
inline constexpr std::uint32_t kMessageInit = 0x4D4E;
inline constexpr std::uint32_t kTagInit = 0x494E4954;            // "INIT"
inline constexpr std::uint32_t kMessageOpen = 0x5350;
inline constexpr std::uint32_t kTagOpen = 0x4F50454E;            // "OPEN"
inline constexpr std::uint32_t kMessageKill = 0x4D4B;
inline constexpr std::uint32_t kTagKill = 0x4C4C494B;            // "KILL"
inline constexpr std::uint32_t kMessageReloadProfile = 0x5452;
inline constexpr std::uint32_t kTagProf = 0x50524F46;            // "PROF"
inline constexpr std::uint32_t kMessageCloseEditors = 0x4753;    // wParam 0
inline constexpr std::uint32_t kMessageRefreshGKeys = 0x5045;
inline constexpr std::uint32_t kTagDel = 0x004C4544;             // "DEL"

// Tray icons.
inline constexpr int kIconNoKeyboard = 128;
inline constexpr int kIconKeyboard = 141;
inline constexpr int kIconIndicator = 142;

// Window timer that re-reads the lighting after the keyboard changed it.
inline constexpr int kTimerLightingChanged = 1051;

}  // namespace quillmar::device
