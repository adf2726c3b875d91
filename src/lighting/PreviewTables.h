#pragma once

#include "lighting/Colour.h"

#include <array>
#include <cstdint>

namespace quillmar::lighting {

// The fixed tables the on-screen lighting preview draws from.

inline constexpr int kWheelSize = 192;
inline constexpr int kWaveCurveSize = 96;
inline constexpr int kPulseCurveSize = 128;
inline constexpr int kBreathingCurveSize = 128;

inline constexpr int kGridRows = 6;
inline constexpr int kGridColumns = 23;
inline constexpr int kGridCells = kGridRows * kGridColumns;  // 138
inline constexpr int kEmptyCell = 255;

inline constexpr int kKeySequenceLength = 105;

// 192 colours around the hue circle, red first.
const std::array<ColourValue, kWheelSize>& colourWheel();

// Intensities 0-255.
const std::array<std::uint8_t, kWaveCurveSize>& waveCurve();
const std::array<std::uint8_t, kPulseCurveSize>& pulseCurve();
const std::array<std::uint8_t, kBreathingCurveSize>& breathingCurve();

// The drawn keyboard as 6 rows of 23 cells of key button ids; kEmptyCell for
// none. A key two cells wide is in both.
const std::array<std::array<int, kGridColumns>, kGridRows>& keyGrid();

// The 105 key buttons (Fn included, the right Windows key not) in a spiral
// from the top right corner inwards.
const std::array<int, kKeySequenceLength>& keySequence();

// Each channel times intensity / 255.
constexpr ColourValue scaleColour(ColourValue colour, int intensity) {
    const auto scale = [intensity](ColourValue channel) { return (channel & 0xFF) * static_cast<ColourValue>(intensity) / 255; };
    return scale(colour) | scale(colour >> 8) << 8 | scale(colour >> 16) << 16;
}

}  // namespace quillmar::lighting
