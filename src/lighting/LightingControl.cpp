#include "lighting/LightingControl.h"

#include "device/DeviceReport.h"
#include "device/KeyboardLock.h"
#include "device/ResultCode.h"
#include "lighting/EffectTable.h"
#include "lighting/LightingEdits.h"

#include <algorithm>
#include <array>

namespace quillmar::lighting {
namespace {

constexpr int kReadFailed = -1;

}  // namespace

LightingControl::LightingControl(device::DeviceCommands& commands,
                                 profiles::KtvlSettings panelSetting)
    : commands_(commands), panelSetting_(std::move(panelSetting)) {}

int LightingControl::ReadLightingState() {
    const device::KeyboardLock keyboard;
    state_.effects = {};
    std::array<std::uint8_t, device::kDeviceInfoBytes> info{};
    if (commands_.ReadDeviceInfo(info) != device::kSuccess) return kReadFailed;
    state_.effects = effectListFromDeviceInfo(info);

    bool currentRead = false;
    commands_.BeginUpdate();
    for (int profile = 0; profile < device::kProfileCount; ++profile) {
        std::array<std::uint8_t, device::DeviceReport::kMaxData> answer{};
        const bool read = commands_.ReadSettings(*LightingBlock::address(profile, 0), answer) ==
                          device::kSuccess;
        if (read) std::copy_n(answer.begin(), LightingBlock::kBytes, state_.mirror[profile].begin());
        if (profile == state_.profile) currentRead = read;
    }
    commands_.EndUpdate();

    state_.panelOpen = panelSetting_.lightingPanelOpen();
    if (!currentRead) return kReadFailed;
    applyLightingRecord(state_, state_.mirror[state_.profile]);
    return 0;
}

int LightingControl::write(const LightingWrites& writes) {
    return writes.empty() ? kNothingWritten : WriteLightingBytes(commands_, writes);
}

int LightingControl::SelectEffect(int effectId) { return write(editEffect(state_, effectId)); }

int LightingControl::MoveBrightnessSlider(int position) {
    return write(editBrightness(state_, position));
}

int LightingControl::MoveSpeedSlider(int position) { return write(editSpeed(state_, position)); }

int LightingControl::SetDirection(int direction) { return write(editDirection(state_, direction)); }

int LightingControl::ChooseColour(ColourValue colour) { return write(editColour(state_, colour)); }

int LightingControl::ToggleMulticolour() { return write(editMulticolourToggle(state_)); }

int LightingControl::SetFixedColour(int fixedColour) {
    return write(editFixedColour(state_, fixedColour));
}

int LightingControl::SetPollingRate(int rateIndex) {
    return write(editPollingRate(state_, rateIndex));
}

int LightingControl::RestoreLightingDefaults() {
    SelectEffect(kDefaultEffect);
    return write(editDefaults(state_));
}

int LightingControl::WriteDefaultRecord() { return write(editDefaults(state_)); }

bool LightingControl::setPanelOpen(bool open) {
    state_.panelOpen = open;
    return panelSetting_.setLightingPanelOpen(open);
}

}  // namespace quillmar::lighting
