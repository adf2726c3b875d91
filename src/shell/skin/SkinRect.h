#pragma once

#include "text/SkinRectText.h"

#include <QRect>

#include <filesystem>
#include <string_view>

namespace quillmar::shell {

using text::kMaxSkinCoordinate;

// A control's rectangle in a skin file (see text/SkinRectText.h), as Qt
// geometry.
struct SkinRect : text::SkinRectFields {
    // A skin hides a control by leaving its key out, which puts it at (1, 1).
    bool hidesControl() const { return x == 1 && y == 1; }
    QPoint origin() const { return {x, y}; }
    QRect rect() const { return {x, y, width, height}; }
};

SkinRect readSkinRect(const std::filesystem::path& skinFile, std::string_view section,
                      std::string_view key);

}  // namespace quillmar::shell
