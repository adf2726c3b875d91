#pragma once

#include <cstdint>

namespace quillmar::shell::main_window {

// Controls of the main window, by the ids its routing tables use.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kProfileDialogButton = 1005;
inline constexpr int kApply = 1006;
inline constexpr int kMacroEdit = 1007;
inline constexpr int kFirstExtraKey = 1016;  // D1..D6: 1016..1021
inline constexpr int kExtraKeyCount = 6;
inline constexpr int kFirstFunctionKey = 1010;  // F1..F4: 1010..1013
inline constexpr int kSwappedFunctionKeyCount = 4;
inline constexpr int kLink = 1121;
inline constexpr int kHelp = 1122;
inline constexpr int kMinimise = 1123;
inline constexpr int kClose = 1124;
inline constexpr int kCapsLight = 1125;
inline constexpr int kNumLight = 1126;
inline constexpr int kScrollLight = 1127;
inline constexpr int kBankLight = 1128;
inline constexpr int kFlip0 = 1129;
inline constexpr int kFlip1 = 1130;
inline constexpr int kFlip2 = 1131;
inline constexpr int kLeftArrow = 1132;
inline constexpr int kRightArrow = 1133;
inline constexpr int kVersion = 1134;
inline constexpr int kFirstProfileButton = 1135;  // 1135..1137
inline constexpr int kRestoreDefaults = 1138;
inline constexpr int kButtonMenu = 1139;
inline constexpr int kSwitch = 1144;
inline constexpr int kFn = 1174;
inline constexpr int kBusyIndicator = 1177;
inline constexpr int kFirstLightingControl = 1146;
inline constexpr int kLastLightingControl = 1198;
inline constexpr int kPollingRateLabel = 1204;

// Menu commands (button menu, tray menu, system menu).
inline constexpr int kCommandOpen = 32771;
inline constexpr int kCommandAbout = 32773;
inline constexpr int kCommandExit = 32774;
inline constexpr int kCommandImport = 32776;
inline constexpr int kCommandExport = 32777;
inline constexpr int kCommandMenuClose = 32779;
inline constexpr int kCommandBackups = 32780;
inline constexpr int kSystemMenuAbout = 16;

// Window timers.
inline constexpr int kTimerBusyIndicator = 1050;
inline constexpr int kTimerLightingChanged = 1051;
inline constexpr int kTimerPreview = 1052;
inline constexpr int kPreviewFirstDelayMs = 100;
inline constexpr int kPreviewPeriodMs = 50;
inline constexpr int kBusyIndicatorPeriodMs = 50;
inline constexpr int kBusyIndicatorFrames = 10;

// Messages besides the custom ones of the device link.
inline constexpr std::uint32_t kMessageSliderMoved = 0x28D1;
inline constexpr std::uint32_t kMessageTimeChange = 0x001E;
inline constexpr std::uint32_t kMessageSystemCommand = 0x0112;
inline constexpr std::uint32_t kMessageHelp = 0x0053;
inline constexpr std::uint32_t kFirstSystemMenuAbout = 16;
inline constexpr std::uint32_t kLastSystemMenuAbout = 31;

}  // namespace quillmar::shell::main_window
