#include "lighting/LightingState.h"

#include <algorithm>

namespace quillmar::lighting {
namespace {

ColourValue colourAt(const LightingRecord& record, std::size_t offset) {
    return colourFromRgb(record[offset], record[offset + 1], record[offset + 2]);
}

std::string flagText(bool on) { return on ? "1" : "0"; }

std::string triggerText(const LightingState& state) {
    if (state.singleKeyTrigger) return "single-key";
    if (state.gridTrigger) return "grid";
    return "none";
}

}  // namespace

void applyLightingRecord(LightingState& state, const LightingRecord& record) {
    using B = LightingBlock;
    state.effect = record[B::kEffect];
    state.brightness = record[B::kBrightness];
    state.speed = record[B::kSpeed];
    state.direction = record[B::kDirection];
    state.multicolour = record[B::kMulticolour] != 0;
    state.colour = colourAt(record, B::kColour);
    state.pollingRate = std::min<int>(record[B::kPollingRate], kPollingRateCount - 1);
    const int fixedColour = record[B::kFixedColour];
    state.fixedColour = fixedColour < kFixedColourCount ? fixedColour : 0;
    if (record[B::kTrigger] == kSingleKeyTrigger || record[B::kTrigger] == kGridTrigger) {
        state.singleKeyTrigger = record[B::kTrigger] == kSingleKeyTrigger;
        state.gridTrigger = record[B::kTrigger] == kGridTrigger;
    }
    state.secondColour = colourAt(record, B::kSecondColour);
    state.secondMulticolour = record[B::kSecondMulticolour] != 0;
    state.thirdColour = colourAt(record, B::kThirdColour);
    state.thirdMulticolour = record[B::kThirdMulticolour] != 0;
}

std::vector<std::pair<std::string, std::string>> lightingFields(const LightingState& state) {
    return {
        {"effect", std::to_string(state.effect)},
        {"brightness", std::to_string(state.brightness)},
        {"speed", std::to_string(state.speed)},
        {"direction", std::to_string(state.direction)},
        {"multicolour", flagText(state.multicolour)},
        {"colour", colourHexText(state.colour)},
        {"pollingRate", std::to_string(state.pollingRate)},
        {"fixedColour", std::to_string(state.fixedColour)},
        {"trigger", triggerText(state)},
        {"secondColour", colourHexText(state.secondColour)},
        {"secondMulticolour", flagText(state.secondMulticolour)},
        {"thirdColour", colourHexText(state.thirdColour)},
        {"thirdMulticolour", flagText(state.thirdMulticolour)},
    };
}

}  // namespace quillmar::lighting
