#pragma once

#include "OutputFiles.h"

namespace quillmar::skingen {

// The tray's icons, named by the icon numbers the program asks for:
// "tray128.png" no keyboard, "tray141.png" keyboard present, "tray142.png"
// the keyboard's indicator state. Also "app.png", the window icon.
void writeTrayIcons(const OutputFolder& out);

}  // namespace quillmar::skingen
