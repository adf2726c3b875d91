#pragma once

#include "device/DeviceCommands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmar::lighting {

inline constexpr std::size_t kEffectSlots = 32;
inline constexpr std::size_t kEffectListOffset = 12;  // in the device info block

// The effects the keyboard supports: 32 slots of an effect id, 0 = empty.
using EffectList = std::array<std::uint8_t, kEffectSlots>;

EffectList effectListFromDeviceInfo(std::span<const std::uint8_t, device::kDeviceInfoBytes> info);

// Positions of the effect list box and the effect id each shows: one entry
// per non-zero slot of the EffectList, in slot order.
class EffectIndexMap {
public:
    EffectIndexMap() = default;
    explicit EffectIndexMap(const EffectList& effects);

    int size() const { return count_; }
    // The first position showing the id; -1 when none does (and for id 0).
    int positionOf(int effectId) const;
    // The id shown at the position; 0 outside the list.
    int effectAt(int position) const;

private:
    std::array<std::uint8_t, kEffectSlots> ids_{};
    int count_ = 0;
};

}  // namespace quillmar::lighting
