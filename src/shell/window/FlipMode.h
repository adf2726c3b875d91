#pragma once

#include "platform/UserSettings.h"

#include <vector>

namespace quillmar::shell::main_window {

// The layout switch that trades F1..F4 for the extra keys D1..D6, kept in the
// per-user settings as "Flip". Any non-zero stored value means mode 1.
bool readFlipMode(const platform::UserSettings& settings);

// Stores 1 when the stored value is 0, else 0; returns the new mode.
bool toggleFlipMode(platform::UserSettings& settings);

struct ButtonEnabling {
    int buttonId;
    bool enabled;
};

// F1..F4 enabled and D1..D6 disabled in mode 0; the reverse in mode 1.
std::vector<ButtonEnabling> flipButtonStates(bool flipMode);

}  // namespace quillmar::shell::main_window
