#pragma once

#include <array>
#include <optional>

#include "lighting/LightingBlock.h"

namespace quillmar::lighting {

// The report rate, in Hz, each polling-rate index selects, as the rate
// buttons of the skin show it. The keyboard's firmware fixes it; nothing is
// computed from it.
inline constexpr std::array<int, kPollingRateCount> kPollingRatesHz = {125, 250, 500, 1000};

// The index of a rate in Hz; nothing for a rate no index selects.
constexpr std::optional<int> pollingRateIndexOfHz(int hz) {
    for (int index = 0; index < kPollingRateCount; ++index)
        if (kPollingRatesHz[static_cast<std::size_t>(index)] == hz) return index;
    return std::nullopt;
}

}  // namespace quillmar::lighting
