#include "shell/skin/SkinPlacement.h"

#include "shell/skin/SkinRect.h"
#include "shell/widgets/CPngButton.h"

namespace quillmar::shell {

void PlaceSkinnedButton(CPngButton& button, const std::filesystem::path& skinFile,
                        std::string_view section, std::string_view key,
                        const ButtonSurfaces& surfaces) {
    const SkinRect place = readSkinRect(skinFile, section, key);
    button.setGeometry(place.rect());
    button.setSkin(place.origin(), surfaces);
    if (place.hidesControl()) button.setEnabled(false);
}

void PlaceControl(QWidget& control, const std::filesystem::path& skinFile,
                  std::string_view section, std::string_view key) {
    control.setGeometry(readSkinRect(skinFile, section, key).rect());
}

void MoveControl(QWidget& control, const std::filesystem::path& skinFile,
                 std::string_view section, std::string_view key) {
    control.move(readSkinRect(skinFile, section, key).origin());
    control.update();
}

void PlaceWithImageKey(CPngButton& button, const std::filesystem::path& skinFile,
                       std::string_view positionSection, std::string_view positionKey,
                       std::string_view imageSection, std::string_view imageKey,
                       const QPixmap& surface) {
    button.setGeometry(readSkinRect(skinFile, positionSection, positionKey).rect());
    button.setSkin(readSkinRect(skinFile, imageSection, imageKey).origin(),
                   ButtonSurfaces::uniform(surface));
}

}  // namespace quillmar::shell
