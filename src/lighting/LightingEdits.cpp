#include "lighting/LightingEdits.h"

#include "lighting/EffectTable.h"
#include "lighting/LightingSliders.h"

#include <algorithm>

namespace quillmar::lighting {
namespace {

using B = LightingBlock;

std::uint8_t byteOf(int value) { return static_cast<std::uint8_t>(value); }

// One write of the bytes at the field of the current profile's record.
LightingWrite fieldWrite(const LightingState& state, std::size_t offset,
                         std::vector<std::uint8_t> bytes) {
    return {*B::address(state.profile, offset), std::move(bytes)};
}

LightingWrites singleByte(const LightingState& state, std::size_t offset, int value) {
    return {fieldWrite(state, offset, {byteOf(value)})};
}

}  // namespace

LightingWrites editEffect(LightingState& state, int effectId) {
    const EffectInfo* effect = findEffect(effectId);
    if (!effect || !B::validProfile(state.profile)) return {};
    state.effect = effectId;
    LightingWrites writes = singleByte(state, B::kEffect, effectId);
    if (effect->multicolourOnSelect)
        writes.push_back(fieldWrite(state, B::kMulticolour, {byteOf(state.multicolour)}));
    return writes;
}

LightingWrites editBrightness(LightingState& state, int sliderPosition) {
    if (!validSliderPosition(sliderPosition) || !B::validProfile(state.profile)) return {};
    if (sliderPosition == state.brightness) return {};
    state.brightness = sliderPosition;
    return singleByte(state, B::kBrightness, sliderPosition);
}

LightingWrites editSpeed(LightingState& state, int sliderPosition) {
    if (!validSliderPosition(sliderPosition) || !B::validProfile(state.profile)) return {};
    const int speed = speedFromSliderPosition(sliderPosition);
    if (speed == state.speed) return {};
    state.speed = speed;
    return singleByte(state, B::kSpeed, speed);
}

LightingWrites editDirection(LightingState& state, int direction) {
    const bool known = direction == kDirectionFirst || direction == kDirectionSecond;
    if (!known || !B::validProfile(state.profile)) return {};
    state.direction = direction;
    return singleByte(state, B::kDirection, direction);
}

LightingWrites editColour(LightingState& state, ColourValue colour) {
    if (!B::validProfile(state.profile)) return {};
    state.colour = colour & 0xFFFFFF;
    state.multicolour = false;
    const auto rgb = rgbBytes(colour);
    return {fieldWrite(state, B::kMulticolour, {0}),
            fieldWrite(state, B::kColour, {rgb.begin(), rgb.end()})};
}

LightingWrites editMulticolourToggle(LightingState& state) {
    if (!B::validProfile(state.profile)) return {};
    state.multicolour = !state.multicolour;
    return singleByte(state, B::kMulticolour, state.multicolour);
}

LightingWrites editFixedColour(LightingState& state, int fixedColour) {
    const bool known = fixedColour >= 0 && fixedColour < kFixedColourCount;
    if (!known || !B::validProfile(state.profile)) return {};
    state.fixedColour = fixedColour;
    return singleByte(state, B::kFixedColour, fixedColour);
}

LightingWrites editPollingRate(LightingState& state, int rateIndex) {
    const bool known = rateIndex >= 0 && rateIndex < kPollingRateCount;
    if (!known || !B::validProfile(state.profile)) return {};
    state.pollingRate = rateIndex;
    return singleByte(state, B::kPollingRate, rateIndex);
}

LightingWrites editDefaults(LightingState& state) {
    if (!B::validProfile(state.profile)) return {};
    LightingRecord record{};
    std::ranges::copy(B::kDefaultRecord, record.begin());
    applyLightingRecord(state, record);
    return {fieldWrite(state, 0, {B::kDefaultRecord.begin(), B::kDefaultRecord.end()})};
}

}  // namespace quillmar::lighting
