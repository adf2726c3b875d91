#pragma once

#include <string_view>

namespace quillmar::lighting {

// Skin pictures of the lighting panel's image controls (file names in the
// skin folder) and the skin keys that place the direction controls.

// Pictures of the two direction buttons (1149, 1150) for the effect; the one
// whose name ends in "down" marks the selected direction.
struct DirectionButtonImages {
    std::string_view first;
    std::string_view second;
};
DirectionButtonImages directionButtonImages(int effectId, int direction);

// Skin rectangles for the direction label 1148 and buttons 1149 and 1150.
struct DirectionPlacement {
    std::string_view label;
    std::string_view first;
    std::string_view second;
};
DirectionPlacement directionPlacement(int effectId);

// Fixed-colour buttons 0 red, 1 yellow, 2 green, 3 blue; "…ok" when selected.
// An index outside 0 to 3 shows red.
std::string_view fixedColourImage(int fixedColour, bool selected);

std::string_view lampImage(bool panelOpen);
std::string_view multicolourCheckboxImage(bool on);

}  // namespace quillmar::lighting
