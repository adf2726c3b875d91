#pragma once

namespace quillmar::shell {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
    int x = 0, y = 0;
};

// Where a dialog of width × height opens beside the key button it edits:
// right of and below the button when there is room, else flipped to the
// side or above where there is room.
constexpr ScreenPoint placeBesideButton(ScreenRect button, int width, int height, int screenWidth, int screenHeight) {
    const bool right = screenWidth - button.right >= width;
    const bool below = screenHeight - button.bottom >= height;
    const bool left = button.left >= width;
    const bool above = button.top >= height;
    if (right && below) return {button.right, button.bottom};
    if (right && above) return {button.right, button.top - height};
    if (!right && left && below) return {button.left - width, button.bottom};
    if (!right && left && above) return {button.left - width, button.top - height};
    return {button.right, button.bottom};
}

}  // namespace quillmar::shell
