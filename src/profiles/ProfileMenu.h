#pragma once

#include "text/Texts.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quillmar::profiles {

inline constexpr int kDefaultProfileCommand = 9000;
inline constexpr int kFirstProfileCommand = 9001;  // + profile number

// One entry of the profile menu. A separator has no text and command 0.
struct ProfileMenuItem {
    std::u16string text;
    int commandId = 0;
    bool separator = false;
    bool checked = false;

    friend bool operator==(const ProfileMenuItem&, const ProfileMenuItem&) = default;
};

// The profile menu as the main window shows it: "<Default Profile>", a
// separator, then one item per profile named after the profile file. The
// checked item's text is the caption of the profile dialog button, and the
// tooltip prefixes it with PROFILE_TIP.
struct ProfileMenu {
    std::vector<ProfileMenuItem> items;
    std::size_t checkedPosition = 0;
    std::u16string caption;
    std::u16string tooltip;

    friend bool operator==(const ProfileMenu&, const ProfileMenu&) = default;
};

// The menu for the active profile (0 to 2); any other value, such as -1 for
// an unknown profile, checks "<Default Profile>". All profiles share the one
// profile file, so their items carry the same text: its name without folder
// or extension.
ProfileMenu buildProfileMenu(int activeProfile, const std::filesystem::path& profileFile,
                             const text::Texts& texts);

}  // namespace quillmar::profiles
