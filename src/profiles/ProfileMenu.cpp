#include "profiles/ProfileMenu.h"

#include "device/DeviceCommands.h"
#include "text/SlotText.h"
#include "text/Utf.h"

namespace quillmar::profiles {

ProfileMenu buildProfileMenu(int activeProfile, const std::filesystem::path& profileFile,
                             const text::Texts& texts) {
    ProfileMenu menu;
    menu.items.push_back({text::slotText(texts, text::TextSlot::DEFAULT_PROFILE_NAME), kDefaultProfileCommand});
    menu.items.push_back({u"", 0, true});
    const std::u16string fileName = text::toUtf16(profileFile.stem().string());
    for (int profile = 0; profile < device::kProfileCount; ++profile)
        menu.items.push_back({fileName, kFirstProfileCommand + profile});

    const bool known = activeProfile >= 0 && activeProfile < device::kProfileCount;
    menu.checkedPosition = known ? static_cast<std::size_t>(activeProfile) + 2 : 0;
    ProfileMenuItem& checked = menu.items[menu.checkedPosition];
    checked.checked = true;
    menu.caption = checked.text;
    menu.tooltip = text::slotText(texts, text::TextSlot::PROFILE_TIP) + checked.text;
    return menu;
}

}  // namespace quillmar::profiles
