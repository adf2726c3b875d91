#pragma once

#include "device/DeviceCommands.h"

#include <cstdint>
#include <vector>

namespace quillmar::lighting {

// Bytes for the settings memory at an address.
struct LightingWrite {
    std::uint16_t address = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const LightingWrite&) const = default;
};
using LightingWrites = std::vector<LightingWrite>;

// One update bracket: BeginUpdate, one WriteSettings per item in the given
// order, EndUpdate. Every item is sent whatever the keyboard answered.
// Returns kSuccess or the first failing result; an empty list sends nothing.
int WriteLightingBytes(device::DeviceCommands& commands, const LightingWrites& writes);

}  // namespace quillmar::lighting
