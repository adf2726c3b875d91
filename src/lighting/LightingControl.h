#pragma once

#include "device/DeviceCommands.h"
#include "lighting/Colour.h"
#include "lighting/LightingState.h"
#include "lighting/LightingWrites.h"
#include "profiles/KtvlSettings.h"

namespace quillmar::lighting {

// An action's result when it had nothing to write to the keyboard; the
// device result codes otherwise (kSuccess, or the first failure).
inline constexpr int kNothingWritten = 2;

// The lighting settings of the current profile: reads them from the keyboard
// and carries out each lighting control's action, changing the state and
// writing the changed bytes at once in one update bracket. The state follows
// the control even when the keyboard refuses the write; the next read shows
// what the keyboard holds. Used from the window thread only.
class LightingControl {
public:
    LightingControl(device::DeviceCommands& commands, profiles::KtvlSettings panelSetting);

    LightingState& state() { return state_; }
    const LightingState& state() const { return state_; }

    // Effect list, the three records and the current profile's fields, and
    // whether the panel is open. 0 on success; -1 when the device info block
    // cannot be read (the effect list is then empty, the rest unchanged) or
    // the current profile's record cannot be read (its fields unchanged).
    int ReadLightingState();

    int SelectEffect(int effectId);
    int MoveBrightnessSlider(int position);
    int MoveSpeedSlider(int position);
    int SetDirection(int direction);
    int ChooseColour(ColourValue colour);
    int ToggleMulticolour();
    int SetFixedColour(int fixedColour);
    int SetPollingRate(int rateIndex);
    // Selects the default effect, then writes the 35-byte default record.
    int RestoreLightingDefaults();
    // The 35-byte default record alone; the state takes its values.
    int WriteDefaultRecord();

    // Brings the profile's record on the keyboard to the given bytes, writing
    // the runs of bytes that differ from what it was last known to hold; the
    // state takes them when it is the current profile's.
    int WriteRecord(int profile, const LightingRecord& record);

    // The panel's open state, kept across runs; false when it could not be stored.
    bool setPanelOpen(bool open);

private:
    int write(const LightingWrites& writes);
    // The records written are what the keyboard holds now, as far as known.
    void mirrorWrites(const LightingWrites& writes);

    device::DeviceCommands& commands_;
    profiles::KtvlSettings panelSetting_;
    LightingState state_;
};

}  // namespace quillmar::lighting
