#include "lighting/EffectTable.h"

#include <algorithm>
#include <array>

namespace quillmar::lighting {
namespace {

using namespace control_group;
using D = DirectionMeaning;

constexpr ControlGroups kWave = kSpeed | kDirection | kColourA;
constexpr ControlGroups kTimedColour = kSpeed | kColourA;

constexpr std::array<EffectInfo, 19> kEffects{{
    {1, kWave, true, D::LeftRight},
    {2, kWave, true, D::LeftRight},
    {3, kWave, true, D::LeftRight},
    {4, kSpeed, false, D::None},
    {5, kTimedColour, true, D::None},
    {6, kColourB, false, D::None},
    {7, kTimedColour, true, D::None},
    {8, kTimedColour, true, D::None},
    {9, kTimedColour, true, D::None},
    {10, kSpeed, false, D::None},
    {11, kSpeed, false, D::None},
    {12, kSpeed | kDirection, false, D::UpDown},
    {13, kTimedColour, true, D::None},
    {14, kTimedColour, true, D::None},
    {15, kTimedColour, true, D::None},
    {16, kColourB, false, D::None},
    {17, kFixedColours, false, D::None},
    {18, kDirection, false, D::SpreadGather},
    {20, kCustomColours, false, D::None},
}};

}  // namespace

std::span<const EffectInfo> effectTable() { return kEffects; }

const EffectInfo* findEffect(int effectId) {
    const auto found = std::ranges::find(kEffects, effectId, &EffectInfo::id);
    return found == kEffects.end() ? nullptr : &*found;
}

ControlGroups visibleControlGroups(int effectId) {
    const EffectInfo* effect = findEffect(effectId);
    if (!effect) return kEffectList;
    return kEffectList | kBrightness | effect->controls;
}

}  // namespace quillmar::lighting
