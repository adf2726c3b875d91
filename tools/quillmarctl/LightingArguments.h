#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmar::ctl {

// One lighting setting of the command line, "name=value".
enum class LightingSettingKind { Effect, Brightness, Speed, Direction, Colour, Multicolour, FixedColour };

struct LightingSetting {
    LightingSettingKind kind = LightingSettingKind::Effect;
    int value = 0;  // the colour as a colour value; speed as the record holds it
};

// effect=ID (a known effect), brightness=0-4, speed=0-4, direction=255|0,
// colour=RRGGBB, multicolour=0|1, fixed=0-3; nothing for anything else.
std::optional<LightingSetting> parseLightingSetting(std::string_view text);

// Why parseLightingSetting refused the text: the values a known setting takes
// ("brightness must be 0-4"), or that the setting is unknown.
std::string whyNotLightingSetting(std::string_view text);

// "RRGGBB" in hex as a colour value (red in the low byte).
std::optional<int> parseRgbColour(std::string_view text);

}  // namespace quillmar::ctl
