#pragma once

#include "lighting/Colour.h"
#include "lighting/EffectList.h"
#include "lighting/LightingBlock.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace quillmar::lighting {

// The program's working copy of the current profile's lighting settings.
// Fields hold the record's bytes as the keyboard gave them, except where
// the read-back rules of applyLightingRecord say otherwise.
struct LightingState {
    int profile = 0;  // set by profile switching; chooses the record address

    int effect = 0;
    int brightness = 0;
    int speed = 0;  // the device value, not the slider position
    int direction = 0;
    bool multicolour = false;
    ColourValue colour = 0;
    int pollingRate = 0;  // 0 to 3
    int fixedColour = 0;  // 0 to 3
    bool singleKeyTrigger = false;
    bool gridTrigger = false;
    ColourValue secondColour = 0;
    bool secondMulticolour = false;
    ColourValue thirdColour = 0;
    bool thirdMulticolour = false;

    bool panelOpen = false;  // persisted as "DengCheck"

    EffectList effects{};  // what the keyboard last listed
    std::array<LightingRecord, device::kProfileCount> mirror{};  // the last records read

    bool operator==(const LightingState&) const = default;
};

// Takes the fields from a record: a polling rate above 3 becomes 3, a fixed
// colour outside 0 to 3 becomes 0, and a trigger byte other than 0 or 1
// leaves both trigger flags as they are.
void applyLightingRecord(LightingState& state, const LightingRecord& record);

// The record's fields as (name, value) text pairs, in record order: numbers
// in decimal, flags "1" or "0", colours "RRGGBB", trigger "single-key",
// "grid" or "none".
std::vector<std::pair<std::string, std::string>> lightingFields(const LightingState& state);

}  // namespace quillmar::lighting
