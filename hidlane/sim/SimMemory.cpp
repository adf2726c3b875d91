#include "hidlane/sim/SimMemory.h"

#include <algorithm>

#include "keyboard/DefaultKeyTable.h"

namespace quillmar::sim {
namespace {

constexpr std::uint8_t kFactoryMacroUnits = 64;

constexpr std::array<std::uint8_t, 19> kFactoryEffectList = {1,  2,  3,  4,  5,  6,  7,  8,  9, 10,
                                                             11, 12, 13, 14, 15, 16, 17, 18, 20};

// One profile's lighting and report-rate record; the rest of its 42 bytes are zero.
constexpr std::array<std::uint8_t, 35> kFactorySettingsRecord = {
    0x01, 0x04, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
    0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
    0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};

// An empty macro area: signature AA 55, total size 16 (u16 LE), no macros.
constexpr std::array<std::uint8_t, 4> kEmptyMacroAreaHeader = {0xAA, 0x55, 0x10, 0x00};

}  // namespace

std::span<std::uint8_t> SimMemory::area(SimArea which) {
    const auto& self = *this;
    const auto view = self.area(which);
    return {const_cast<std::uint8_t*>(view.data()), view.size()};
}

std::span<const std::uint8_t> SimMemory::area(SimArea which) const {
    switch (which) {
        case SimArea::DeviceInfo: return deviceInfo;
        case SimArea::Settings: return settings;
        case SimArea::KeyBlocks: return keyBlocks;
        case SimArea::DefaultLayout: return defaultLayout;
        case SimArea::KeyColours: return keyColours;
        case SimArea::MacroArea: return macroArea;
    }
    return {};
}

void SimMemory::fitMacroAreaToDeviceInfo() { macroArea.resize(macroAreaCapacity(), 0); }

SimMemory factorySimMemory() {
    SimMemory memory;
    memory.deviceInfo[kActiveProfileByte] = 0;
    memory.deviceInfo[kMacroUnitsByte] = kFactoryMacroUnits;
    std::ranges::copy(kFactoryEffectList, memory.deviceInfo.begin() + kEffectListByte);
    for (std::size_t profile = 0; profile < kProfileCount; ++profile) {
        std::ranges::copy(kFactorySettingsRecord,
                          memory.settings.begin() + profile * kSettingsRecordBytes);
        std::ranges::copy(keyboard::kBuiltInDefaultKeyTable,
                          memory.keyBlocks.begin() + profile * kKeyBlockBytes);
    }
    memory.defaultLayout = keyboard::kBuiltInDefaultKeyTable;
    memory.fitMacroAreaToDeviceInfo();
    std::ranges::copy(kEmptyMacroAreaHeader, memory.macroArea.begin());
    return memory;
}

}  // namespace quillmar::sim
