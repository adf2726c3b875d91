#pragma once

#include <cstdint>
#include <span>

namespace quillmar::lighting {

// Groups of lighting panel controls, as bits.
using ControlGroups = unsigned;
namespace control_group {
inline constexpr ControlGroups kEffectList = 1u << 0;
inline constexpr ControlGroups kBrightness = 1u << 1;
inline constexpr ControlGroups kSpeed = 1u << 2;
inline constexpr ControlGroups kDirection = 1u << 3;
inline constexpr ControlGroups kColourA = 1u << 4;
inline constexpr ControlGroups kColourB = 1u << 5;
inline constexpr ControlGroups kFixedColours = 1u << 6;
inline constexpr ControlGroups kCustomColours = 1u << 7;
}  // namespace control_group

// What the two direction buttons stand for in an effect.
enum class DirectionMeaning { None, LeftRight, UpDown, SpreadGather };

struct EffectInfo {
    std::uint8_t id;
    ControlGroups controls;    // shown besides the effect list and brightness
    bool multicolourOnSelect;  // selecting it also writes the multicolour byte
    DirectionMeaning direction;
};

inline constexpr int kPerKeyColourEffect = 20;
inline constexpr int kDefaultEffect = 1;

// Every effect the program knows, by id.
std::span<const EffectInfo> effectTable();
// The entry of the id; nullptr for an effect the program does not know.
const EffectInfo* findEffect(int effectId);

// The groups visible while the panel is open and the effect is current. An
// unknown effect keeps the effect list, so another effect can be chosen.
ControlGroups visibleControlGroups(int effectId);

}  // namespace quillmar::lighting
