#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillmar::sim {

// The keyboard's memory areas, as its commands address them.
enum class SimArea { DeviceInfo, Settings, KeyBlocks, DefaultLayout, KeyColours, MacroArea };

inline constexpr std::size_t kProfileCount = 3;
inline constexpr std::size_t kDeviceInfoBytes = 44;
inline constexpr std::size_t kActiveProfileByte = 10;
inline constexpr std::size_t kMacroUnitsByte = 11;
inline constexpr std::size_t kEffectListByte = 12;
inline constexpr std::size_t kMacroUnitBytes = 128;
inline constexpr std::size_t kSettingsRecordBytes = 42;
inline constexpr std::size_t kSettingsBytes = kProfileCount * kSettingsRecordBytes;
inline constexpr std::size_t kKeyBlockBytes = 378;
inline constexpr std::size_t kKeyBlocksBytes = kProfileCount * kKeyBlockBytes;
inline constexpr std::size_t kKeyColourAreaBytes = 512;
inline constexpr std::size_t kKeyColoursBytes = kProfileCount * kKeyColourAreaBytes;

struct SimMemory {
    std::array<std::uint8_t, kDeviceInfoBytes> deviceInfo{};
    std::array<std::uint8_t, kSettingsBytes> settings{};
    std::array<std::uint8_t, kKeyBlocksBytes> keyBlocks{};
    std::array<std::uint8_t, kKeyBlockBytes> defaultLayout{};
    std::array<std::uint8_t, kKeyColoursBytes> keyColours{};
    std::vector<std::uint8_t> macroArea;  // macroAreaCapacity() bytes

    std::span<std::uint8_t> area(SimArea which);
    std::span<const std::uint8_t> area(SimArea which) const;

    // What byte 11 of the device info block promises.
    std::size_t macroAreaCapacity() const { return deviceInfo[kMacroUnitsByte] * kMacroUnitBytes; }
    // Keeps the macro memory as large as byte 11 says, after that byte changed.
    void fitMacroAreaToDeviceInfo();

    bool operator==(const SimMemory&) const = default;
};

// The memory of a keyboard fresh from the factory.
SimMemory factorySimMemory();

}  // namespace quillmar::sim
