#include "LightingArguments.h"

#include "ArgumentParsing.h"

#include "lighting/Colour.h"
#include "lighting/EffectTable.h"
#include "lighting/LightingBlock.h"
#include "lighting/LightingSliders.h"

#include <array>
#include <charconv>

namespace quillmar::ctl {
namespace {

using Kind = LightingSettingKind;

std::optional<int> parseColour(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 6 || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    const auto red = static_cast<std::uint8_t>(value >> 16);
    const auto green = static_cast<std::uint8_t>(value >> 8);
    const auto blue = static_cast<std::uint8_t>(value);
    return static_cast<int>(lighting::colourFromRgb(red, green, blue));
}

std::optional<int> parseDirection(std::string_view text) {
    const auto value = parseNumberInRange(text, lighting::kDirectionSecond, lighting::kDirectionFirst);
    if (value != lighting::kDirectionFirst && value != lighting::kDirectionSecond) return std::nullopt;
    return value;
}

std::optional<int> parseEffect(std::string_view text) {
    const auto id = parseNumberInRange(text, 0, 255);
    if (!id || !lighting::findEffect(*id)) return std::nullopt;
    return id;
}

std::optional<int> parseValue(Kind kind, std::string_view text) {
    switch (kind) {
    case Kind::Effect:
        return parseEffect(text);
    case Kind::Brightness:
    case Kind::Speed:
        return parseNumberInRange(text, lighting::kSliderFirst, lighting::kSliderLast);
    case Kind::Direction:
        return parseDirection(text);
    case Kind::Colour:
        return parseColour(text);
    case Kind::Multicolour:
        return parseNumberInRange(text, 0, 1);
    case Kind::FixedColour:
        return parseNumberInRange(text, 0, lighting::kFixedColourCount - 1);
    }
    return std::nullopt;
}

struct NamedKind {
    std::string_view name;
    Kind kind;
    std::string_view takes;  // what the value must be, as the user is told
};

constexpr std::array<NamedKind, 7> kSettingNames = {{
    {"effect", Kind::Effect, "one of the effect ids quillmarctl info lists"},
    {"brightness", Kind::Brightness, "0-4"},
    {"speed", Kind::Speed, "0-4"},
    {"direction", Kind::Direction, "255 or 0"},
    {"colour", Kind::Colour, "RRGGBB (six hexadecimal digits)"},
    {"multicolour", Kind::Multicolour, "0 or 1"},
    {"fixed", Kind::FixedColour, "0-3"},
}};

}  // namespace

std::optional<LightingSetting> parseLightingSetting(std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view name = text.substr(0, equals);
    for (const NamedKind& named : kSettingNames) {
        if (named.name != name) continue;
        const auto value = parseValue(named.kind, text.substr(equals + 1));
        if (!value) return std::nullopt;
        return LightingSetting{named.kind, *value};
    }
    return std::nullopt;
}

std::string whyNotLightingSetting(std::string_view text) {
    const std::string_view name = text.substr(0, text.find('='));
    for (const NamedKind& named : kSettingNames) {
        if (named.name == name) return std::string(name) + " must be " + std::string(named.takes);
    }
    return "unknown lighting setting '" + std::string(text) +
           "'; the settings are effect, brightness, speed, direction, colour, multicolour and fixed";
}

std::optional<int> parseRgbColour(std::string_view text) { return parseColour(text); }

}  // namespace quillmar::ctl
