#pragma once

#include <algorithm>
#include <string>

namespace quillmar::lighting {

// The brightness and speed sliders run from position 0 to 4. Brightness is
// its position; speed is stored as 4 - position. Each position has its own
// background picture "<n>.bmp".
inline constexpr int kSliderFirst = 0;
inline constexpr int kSliderLast = 4;
inline constexpr int kSliderPageStep = 10;
inline constexpr int kBrightnessSlider = 1178;  // control ids
inline constexpr int kSpeedSlider = 1179;

constexpr bool validSliderPosition(int position) {
    return position >= kSliderFirst && position <= kSliderLast;
}
constexpr int clampToSlider(int value) { return std::clamp(value, kSliderFirst, kSliderLast); }

constexpr int speedFromSliderPosition(int position) { return kSliderLast - position; }

// Positions for values read from the keyboard; absurd values are held to the range.
constexpr int brightnessSliderPosition(int brightness) { return clampToSlider(brightness); }
constexpr int speedSliderPosition(int speed) { return clampToSlider(kSliderLast - speed); }

// Background picture numbers: brightness 0 to 4, speed 6 to 10.
constexpr int brightnessBackground(int position) { return clampToSlider(position); }
constexpr int speedBackground(int position) { return 6 + clampToSlider(position); }

inline std::string sliderBackgroundFile(int pictureNumber) {
    return std::to_string(pictureNumber) + ".bmp";
}

}  // namespace quillmar::lighting
