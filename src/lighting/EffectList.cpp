#include "lighting/EffectList.h"

#include <algorithm>

namespace quillmar::lighting {

EffectList effectListFromDeviceInfo(std::span<const std::uint8_t, device::kDeviceInfoBytes> info) {
    EffectList effects{};
    std::copy_n(info.begin() + kEffectListOffset, kEffectSlots, effects.begin());
    return effects;
}

EffectIndexMap::EffectIndexMap(const EffectList& effects) {
    for (std::uint8_t id : effects) {
        if (id != 0) ids_[count_++] = id;
    }
}

int EffectIndexMap::positionOf(int effectId) const {
    if (effectId <= 0) return -1;
    const auto shown = std::span(ids_).first(count_);
    const auto found = std::ranges::find(shown, effectId);
    return found == shown.end() ? -1 : static_cast<int>(found - shown.begin());
}

int EffectIndexMap::effectAt(int position) const {
    return position >= 0 && position < count_ ? ids_[position] : 0;
}

}  // namespace quillmar::lighting
