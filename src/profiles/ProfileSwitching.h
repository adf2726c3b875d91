#pragma once

#include "config/ConfigStore.h"
#include "device/DeviceCommands.h"
#include "lighting/LightingControl.h"
#include "platform/Prompt.h"
#include "text/Texts.h"
#include "profiles/ProfileMenu.h"
#include "profiles/ProfileWindow.h"
#include "profiles/SavePromptGuard.h"

#include <filesystem>

namespace quillmar::profiles {

// Changes the keyboard's active profile on the user's request, guarding the
// change against open editors and unsaved edits, and keeps the main window's
// profile controls in step. Used on the window thread only.
class ProfileSwitching {
public:
    ProfileSwitching(device::DeviceCommands& commands, config::ConfigStore& working,
                     std::filesystem::path profileFile, lighting::LightingControl& lighting,
                     ProfileWindow& window, platform::Prompt& prompt, const text::Texts& texts);

    // Makes the profile (0 to 2; any other number means 0) the active one.
    // 1 when the switch went ahead, 0 when an open editor refused it. Unsaved
    // edits are first applied or discarded, as the user answers; a switch
    // asked for while that question is open goes ahead without asking.
    int switchProfile(int profile);

    // Profile button 1135 + profile: shows the profile's lighting and, when
    // it is not already the active profile, switches to it and leaves the
    // colour-keys mode. Refused while an editor is open, unless the profile
    // is already active.
    void profileButtonPressed(int profile);

    // Builds the profile menu for the active profile and hands it to the window.
    ProfileMenu rebuildProfileMenu();

    // Selects the active profile's button and shows its lighting profile;
    // nothing when the active profile is unknown.
    void showActiveProfile();

    bool isAskingToSave() const { return savePrompt_.isSet(); }

private:
    bool refusedByOpenEditor();
    bool hasUnsavedEdits() const;
    void settleUnsavedEdits();
    void discardEdits();
    void refreshKeyButtons();
    void showLightingOf(int profile);

    device::DeviceCommands& commands_;
    config::ConfigStore& working_;
    const std::filesystem::path profileFile_;
    lighting::LightingControl& lighting_;
    ProfileWindow& window_;
    platform::Prompt& prompt_;
    const text::Texts& texts_;
    SavePromptGuard savePrompt_;
};

}  // namespace quillmar::profiles
