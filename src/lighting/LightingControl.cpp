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
    if (writes.empty()) return kNothingWritten;
    mirrorWrites(writes);
    return WriteLightingBytes(commands_, writes);
}

void LightingControl::mirrorWrites(const LightingWrites& writes) {
    for (const LightingWrite& item : writes) {
        for (std::size_t i = 0; i < item.bytes.size(); ++i) {
            const std::size_t address = item.address + i;
            const std::size_t profile = address / LightingBlock::kBytes;
            if (profile < state_.mirror.size()) state_.mirror[profile][address % LightingBlock::kBytes] = item.bytes[i];
        }
    }
}

int LightingControl::WriteRecord(int profile, const LightingRecord& record) {
    if (!LightingBlock::validProfile(profile)) return kNothingWritten;
    const LightingRecord& known = state_.mirror[static_cast<std::size_t>(profile)];
    LightingWrites writes;
    for (std::size_t offset = 0; offset < record.size();) {
        if (record[offset] == known[offset]) {
            ++offset;
            continue;
        }
        LightingWrite run{*LightingBlock::address(profile, offset), {}};
        for (; offset < record.size() && record[offset] != known[offset]; ++offset) run.bytes.push_back(record[offset]);
        writes.push_back(std::move(run));
    }
    const int result = write(writes);
    if (profile == state_.profile) applyLightingRecord(state_, record);
    return result;
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
