#pragma once

namespace quillmar::ctl {

inline constexpr int kExitDone = 0;
inline constexpr int kExitKeyboardError = 1;
inline constexpr int kExitBadUsage = 2;
inline constexpr int kExitFileRefused = 3;

}  // namespace quillmar::ctl
