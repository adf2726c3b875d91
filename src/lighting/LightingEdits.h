#pragma once

#include "lighting/Colour.h"
#include "lighting/LightingState.h"
#include "lighting/LightingWrites.h"

namespace quillmar::lighting {

// What each lighting control does to the state, and the bytes it then writes
// to the current profile's record, in writing order. An edit that needs no
// write (the value it already has, an effect the program does not know, a
// value outside the control's range, no valid profile) changes nothing and
// returns no writes.

// The effect id, then for the effects that use it the multicolour byte.
LightingWrites editEffect(LightingState& state, int effectId);
// Slider positions 0 to 4; nothing when the value is already current.
LightingWrites editBrightness(LightingState& state, int sliderPosition);
LightingWrites editSpeed(LightingState& state, int sliderPosition);
// 255 or 0; written even when unchanged.
LightingWrites editDirection(LightingState& state, int direction);
// Multicolour off first, then red, green, blue.
LightingWrites editColour(LightingState& state, ColourValue colour);
LightingWrites editMulticolourToggle(LightingState& state);
// 0 red, 1 yellow, 2 green, 3 blue.
LightingWrites editFixedColour(LightingState& state, int fixedColour);
// 0 to 3; written even when unchanged.
LightingWrites editPollingRate(LightingState& state, int rateIndex);
// The default record from offset 0; the state takes its values as a read-back would.
LightingWrites editDefaults(LightingState& state);

}  // namespace quillmar::lighting
