#pragma once

namespace quillmar::shell::composite_dialog {

// Controls of the key and macro dialog, by the ids its routing table uses.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kApply = 1015;
inline constexpr int kAddMacro = 1017;
inline constexpr int kDeleteMacro = 1018;
inline constexpr int kActionList = 1019;
inline constexpr int kRecord = 1020;
inline constexpr int kDeleteAction = 1021;
inline constexpr int kClearActions = 1022;
inline constexpr int kMoveToTop = 1023;
inline constexpr int kMoveUp = 1024;
inline constexpr int kMoveDown = 1025;
inline constexpr int kMoveToBottom = 1026;
inline constexpr int kRecordDelays = 1027;
inline constexpr int kKeyTab = 1028;
inline constexpr int kMacroTab = 1029;
inline constexpr int kMediaTab = 1030;
inline constexpr int kFunctionTab = 1031;
inline constexpr int kClear = 1032;
inline constexpr int kMask = 1033;
inline constexpr int kLoopCount = 1125;
inline constexpr int kMacroBox = 1126;
inline constexpr int kCaptureField = 1127;
inline constexpr int kMediaList = 1128;
inline constexpr int kFunctionList = 1129;
inline constexpr int kLoopCountLabel = 1130;
inline constexpr int kTitle = 1131;
inline constexpr int kOsk = 1132;
inline constexpr int kRecordDelaysLabel = 1133;
inline constexpr int kHeading = 1199;
inline constexpr int kMacroBoxLabel = 1200;
inline constexpr int kKeyPrompt = 1201;
inline constexpr int kMediaPrompt = 1202;
inline constexpr int kFunctionPrompt = 1203;

// Columns of the action list.
inline constexpr int kKeyColumn = 0;
inline constexpr int kDirectionColumn = 1;
inline constexpr int kDelayColumn = 2;

}  // namespace quillmar::shell::composite_dialog
