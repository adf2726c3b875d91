#include "shell/skin/SkinRect.h"

#include "text/DecimalText.h"
#include "text/IniFile.h"

#include <algorithm>
#include <array>

namespace quillmar::shell {

namespace {
constexpr std::string_view kMissingRect = "1,1,1,1,x";
}

SkinRect readSkinRect(const std::filesystem::path& skinFile, std::string_view section,
                      std::string_view key) {
    const std::string text = text::readIniString(skinFile, section, key, kMissingRect);
    std::array<int, 4> fields{1, 1, 1, 1};
    text::scanDecimalList(text, fields);
    const auto coordinate = [](int value) {
        return std::clamp(value, -kMaxSkinCoordinate, kMaxSkinCoordinate);
    };
    const auto extent = [](int value) { return std::clamp(value, 0, kMaxSkinCoordinate); };
    return {coordinate(fields[0]), coordinate(fields[1]), extent(fields[2]), extent(fields[3])};
}

}  // namespace quillmar::shell
