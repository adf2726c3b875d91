#pragma once

namespace quillmar::device {

// What every device operation returns. Operations never throw; callers decide
// what to tell the user.
inline constexpr int kSuccess = 1;
inline constexpr int kNoKeyboard = 0;        // no keyboard attached, or the wait itself failed
inline constexpr int kWriteRefused = -1;     // the service library refused the write
inline constexpr int kNoAnswer = -2;         // no matching answer after every attempt
inline constexpr int kInvalidRequest = -3;   // the caller's data cannot be framed; nothing sent
inline constexpr int kStatusFailed = -102;   // the answer's status byte was 0xFF
inline constexpr int kStatusRejected = -103; // the answer's status byte was 0xFE
inline constexpr int kBadProfile = -201;     // profile number out of range; nothing sent

}  // namespace quillmar::device
