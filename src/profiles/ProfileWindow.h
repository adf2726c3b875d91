#pragma once

#include "profiles/ProfileMenu.h"

#include <array>
#include <string>

namespace quillmar::profiles {

inline constexpr std::array<int, 3> kProfileButtonIds{1135, 1136, 1137};
inline constexpr int kProfileDialogButtonId = 1005;
inline constexpr int kApplyCommandId = 1006;

// What profile switching needs of the main window and its dialogs. Called on
// the window thread only.
class ProfileWindow {
public:
    virtual ~ProfileWindow() = default;

    // The composite key and macro dialog.
    virtual bool isEditorOpen() const = 0;

    // The main window's Apply button (1006), and running it as if pressed.
    virtual bool isApplyEnabled() const = 0;
    virtual void disableApply() = 0;
    virtual void runApply() = 0;

    // The profile dialog. Its Apply counts as disabled while it is closed.
    virtual bool isProfileDialogOpen() const = 0;
    virtual bool isProfileDialogApplyEnabled() const = 0;
    // Checks the profile's row and disables the dialog's Apply.
    virtual void showProfileInDialog(int profile) = 0;

    // Profile buttons 1135 to 1137: the profile's selected, the others not.
    virtual void selectProfileButton(int profile) = 0;
    // Redraws every G-key and layout-key button from the profile's records;
    // the caller holds the working configuration's lock.
    virtual void refreshKeyButtons(int profile) = 0;
    // Turns the colour-keys mode off, gives its switch the text and redraws
    // the key buttons with their ordinary look.
    virtual void leaveColourKeysMode(const std::u16string& switchText) = 0;

    // The lighting panel, after its state has been read for the profile:
    // refill the colour-scheme list from the profile's colour file and apply
    // the current scheme (only asked for when the keyboard has the per-key
    // colour effect), show the state on the controls, close the panel.
    virtual void refillColourSchemes(int profile) = 0;
    virtual void refreshLightingControls() = 0;
    virtual void closeLightingPanel() = 0;

    // Keeps the menu and shows its caption and tooltip on button 1005.
    virtual void showProfileMenu(const ProfileMenu& menu) = 0;

    // The user dropped unapplied edits: the working configuration was read
    // again from the profile file.
    virtual void editsDiscarded() {}
};

}  // namespace quillmar::profiles
