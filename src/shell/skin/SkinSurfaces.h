#pragma once

#include "shell/skin/ButtonSurfaces.h"

#include <QPixmap>
#include <QSize>

#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>

namespace quillmar::shell {

// Room around the client area in every state surface, so a face cut at a
// control's origin never reads outside its surface.
inline constexpr int kSurfaceMargin = 100;

// A state picture drawn 1:1 at the top-left of a surface of the client size
// plus kSurfaceMargin in each direction (black beyond the picture); a null
// pixmap when the file cannot be read or decoded.
QPixmap loadStateSurface(const std::filesystem::path& picture, QSize clientSize);

// The state pictures of one window, shared by all of its buttons while they
// cut their faces. Pictures are named relative to the program directory
// ("Skins/main_normal.jpg"; a backslash counts as '/').
class SkinSurfaces {
public:
    SkinSurfaces(std::filesystem::path programDirectory, QSize clientSize);

    // Loads each named picture not loaded yet. False when one of them cannot
    // be read or decoded; failedPicture() then names the first such picture.
    bool load(std::span<const std::string_view> pictures);
    const std::string& failedPicture() const { return failedPicture_; }

    // The surface of a loaded picture, read again after release(); a null
    // pixmap for any other name.
    QPixmap surface(std::string_view picture) const;
    // Lets go of the surfaces (each is several megabytes); the pictures stay
    // known, so surface() reads them again when a face must be cut anew.
    void release();

    // normal, over, down, disabled, selected.
    ButtonSurfaces buttonSurfaces(const std::array<std::string, 5>& pictures) const;

private:
    std::filesystem::path programDirectory_;
    QSize clientSize_;
    std::set<std::string, std::less<>> loaded_;
    mutable std::map<std::string, QPixmap, std::less<>> surfaces_;
    std::string failedPicture_;
};

}  // namespace quillmar::shell
