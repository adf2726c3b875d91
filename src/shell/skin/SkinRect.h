#pragma once

#include <QRect>

#include <filesystem>
#include <string_view>

namespace quillmar::shell {

// A control's rectangle in a skin file: "x,y,w,h" in client pixels.
// A missing key reads as 1,1,1,1; a field the text does not supply keeps 1.
// Every value is kept within what a widget can take (a negative size counts
// as 0), so an absurd entry cannot overflow the geometry.
inline constexpr int kMaxSkinCoordinate = (1 << 24) - 1;

struct SkinRect {
    int x = 1;
    int y = 1;
    int width = 1;
    int height = 1;

    // A skin hides a control by leaving its key out, which puts it at (1, 1).
    bool hidesControl() const { return x == 1 && y == 1; }
    QPoint origin() const { return {x, y}; }
    QRect rect() const { return {x, y, width, height}; }
};

SkinRect readSkinRect(const std::filesystem::path& skinFile, std::string_view section,
                      std::string_view key);

}  // namespace quillmar::shell
