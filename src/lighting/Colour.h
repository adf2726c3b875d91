#pragma once

#include "profiles/UserColourFiles.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillmar::lighting {

// A colour value: red in bits 0-7, green in 8-15, blue in 16-23; the bits
// above are not part of the colour.
using ColourValue = profiles::ColourValue;

constexpr ColourValue colourFromRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<ColourValue>(red) | static_cast<ColourValue>(green) << 8 |
           static_cast<ColourValue>(blue) << 16;
}

// The three bytes the keyboard keeps: red, green, blue.
constexpr std::array<std::uint8_t, 3> rgbBytes(ColourValue colour) {
    return {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
            static_cast<std::uint8_t>(colour >> 16)};
}

// A colour button reports -1 for its automatic choice.
constexpr ColourValue chosenColour(std::int32_t buttonValue, ColourValue automaticColour) {
    return buttonValue == -1 ? automaticColour : static_cast<ColourValue>(buttonValue);
}

// "RRGGBB", upper-case hex.
std::string colourHexText(ColourValue colour);

}  // namespace quillmar::lighting
