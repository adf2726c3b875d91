#pragma once

#include <filesystem>
#include <string_view>

namespace quillmar::text {

// A control's rectangle in a skin file: "x,y,w,h" in client pixels.
// A missing key reads as 1,1,1,1; a field the text does not supply keeps 1.
// Every value is kept within what a widget can take (a negative size counts
// as 0), so an absurd entry cannot overflow the geometry.
inline constexpr int kMaxSkinCoordinate = (1 << 24) - 1;

struct SkinRectFields {
    int x = 1;
    int y = 1;
    int width = 1;
    int height = 1;
    bool operator==(const SkinRectFields&) const = default;
};

SkinRectFields parseSkinRect(std::string_view text);

SkinRectFields readSkinRectFields(const std::filesystem::path& skinFile, std::string_view section,
                                  std::string_view key);

}  // namespace quillmar::text
