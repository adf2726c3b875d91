#pragma once

#include "device/MainWindowLink.h"
#include "device/StandingRequests.h"

namespace quillmar::device {

inline constexpr int kFirstGKeyButton = 1000;   // 1000..1004 show the bank's key names
inline constexpr int kFirstSpareGKeyButton = 1140;  // 1140..1143 stay blank
inline constexpr int kBankIndicatorButton = 1128;   // skin key "LOCK_AB"

// Names the G-key buttons after the bank and lights the bank indicator.
void relabelGKeyButtons(MainWindowLink& window, GKeyBank bank);

}  // namespace quillmar::device
