#include "profiles/ProfileSwitching.h"

#include "lighting/EffectTable.h"
#include "profiles/ProfileFile.h"
#include "text/SlotText.h"

#include <algorithm>
#include <utility>

namespace quillmar::profiles {
namespace {

bool isProfile(int profile) { return profile >= 0 && profile < device::kProfileCount; }

bool listsPerKeyColourEffect(const lighting::EffectList& effects) {
    return std::ranges::find(effects, lighting::kPerKeyColourEffect) != effects.end();
}

}  // namespace

ProfileSwitching::ProfileSwitching(device::DeviceCommands& commands, config::ConfigStore& working,
                                   std::filesystem::path profileFile, lighting::LightingControl& lighting,
                                   ProfileWindow& window, platform::Prompt& prompt,
                                   const text::Texts& texts)
    : commands_(commands),
      working_(working),
      profileFile_(std::move(profileFile)),
      lighting_(lighting),
      window_(window),
      prompt_(prompt),
      texts_(texts) {}

int ProfileSwitching::switchProfile(int profile) {
    const int target = isProfile(profile) ? profile : 0;
    if (refusedByOpenEditor()) return 0;
    if (hasUnsavedEdits()) {
        settleUnsavedEdits();
        commands_.SetActiveProfile(target);
    } else {
        commands_.SetActiveProfile(target);
        if (window_.isProfileDialogOpen()) window_.showProfileInDialog(target);
    }
    refreshKeyButtons();
    rebuildProfileMenu();
    return 1;
}

void ProfileSwitching::profileButtonPressed(int profile) {
    if (!isProfile(profile)) return;
    const int active = commands_.GetActiveProfile();
    // Checked before the lighting moves to the profile, so that a refused
    // switch leaves the lighting panel on the active profile.
    if (profile != active && refusedByOpenEditor()) return;
    showLightingOf(profile);
    if (profile == active) return;
    if (switchProfile(profile) == 0) return;
    // The keyboard may have left before it took the profile: the button shown
    // is the one it holds, as far as it is known.
    const int nowActive = commands_.GetActiveProfile();
    if (isProfile(nowActive)) window_.selectProfileButton(nowActive);
    window_.leaveColourKeysMode(text::slotText(texts_, text::TextSlot::MAIN_SWITCH_FUNCTION_TEXT));
}

ProfileMenu ProfileSwitching::rebuildProfileMenu() {
    ProfileMenu menu = buildProfileMenu(commands_.GetActiveProfile(), profileFile_, texts_);
    window_.showProfileMenu(menu);
    return menu;
}

void ProfileSwitching::showActiveProfile() {
    const int active = commands_.GetActiveProfile();
    if (!isProfile(active)) return;
    window_.selectProfileButton(active);
    lighting_.state().profile = active;
}

bool ProfileSwitching::refusedByOpenEditor() {
    if (!window_.isEditorOpen()) return false;
    prompt_.showMessage(text::slotText(texts_, text::TextSlot::PROFILE_SEELCT_PROMPT2));
    return true;
}

bool ProfileSwitching::hasUnsavedEdits() const {
    return window_.isApplyEnabled() || window_.isProfileDialogApplyEnabled();
}

void ProfileSwitching::settleUnsavedEdits() {
    if (savePrompt_.isSet()) return;
    const SavePromptGuard::Hold asking(savePrompt_);
    if (prompt_.askYesNo(text::slotText(texts_, text::TextSlot::PROFILE_SELECT_PROMPT))) {
        window_.runApply();
    } else {
        discardEdits();
    }
}

void ProfileSwitching::discardEdits() {
    window_.disableApply();
    if (!isProfile(commands_.GetActiveProfile())) return;
    {
        const auto held = working_.lock();
        if (loadConfigurationFile(working_, profileFile_) != 1) installDefaultConfiguration(working_);
    }
    window_.editsDiscarded();
}

void ProfileSwitching::refreshKeyButtons() {
    const int active = commands_.GetActiveProfile();
    if (!isProfile(active)) return;
    const auto held = working_.lock();
    window_.refreshKeyButtons(active);
}

void ProfileSwitching::showLightingOf(int profile) {
    lighting_.state().profile = profile;
    lighting_.ReadLightingState();
    if (listsPerKeyColourEffect(lighting_.state().effects)) window_.refillColourSchemes(profile);
    window_.refreshLightingControls();
    if (lighting_.state().panelOpen) window_.closeLightingPanel();
}

}  // namespace quillmar::profiles
