#pragma once

#include "device/DeviceCommands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quillmar::lighting {

// The 42-byte lighting and report-rate record the keyboard keeps per
// profile, at address profile x 42 of its settings memory. Every field is
// one byte.
struct LightingBlock {
    static constexpr std::size_t kBytes = device::kSettingsRecordBytes;

    static constexpr std::size_t kEffect = 0;
    static constexpr std::size_t kBrightness = 1;
    static constexpr std::size_t kSpeed = 2;  // the device value: 4 - slider position
    static constexpr std::size_t kDirection = 3;
    static constexpr std::size_t kMulticolour = 4;
    static constexpr std::size_t kColour = 5;  // red, green, blue
    static constexpr std::size_t kPollingRate = 15;
    static constexpr std::size_t kFixedColour = 17;
    static constexpr std::size_t kTrigger = 19;  // 0 single-key, 1 grid
    static constexpr std::size_t kSecondColour = 25;
    static constexpr std::size_t kSecondMulticolour = 28;
    static constexpr std::size_t kThirdColour = 30;
    static constexpr std::size_t kThirdMulticolour = 33;

    // What restoring defaults writes from offset 0; the bytes behind it stay.
    static constexpr std::array<std::uint8_t, 35> kDefaultRecord = {
        0x01, 0x04, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
        0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
        0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};

    static constexpr bool validProfile(int profile) {
        return profile >= 0 && profile < device::kProfileCount;
    }

    // Address of a field of the profile's record; none for a profile the
    // keyboard does not have.
    static constexpr std::optional<std::uint16_t> address(int profile, std::size_t offset) {
        if (!validProfile(profile) || offset >= kBytes) return std::nullopt;
        return static_cast<std::uint16_t>(profile * kBytes + offset);
    }
};

using LightingRecord = std::array<std::uint8_t, LightingBlock::kBytes>;

// Trigger byte values.
inline constexpr std::uint8_t kSingleKeyTrigger = 0;
inline constexpr std::uint8_t kGridTrigger = 1;

// Direction byte values: the first direction button (left, up, spread) and
// the second (right, down, gather).
inline constexpr int kDirectionFirst = 255;
inline constexpr int kDirectionSecond = 0;

inline constexpr int kFixedColourCount = 4;  // red, yellow, green, blue
inline constexpr int kPollingRateCount = 4;

}  // namespace quillmar::lighting
