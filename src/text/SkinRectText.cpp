#include "text/SkinRectText.h"

#include "text/DecimalText.h"
#include "text/IniFile.h"

#include <algorithm>
#include <array>
#include <string>

namespace quillmar::text {

namespace {
constexpr std::string_view kMissingRect = "1,1,1,1,x";
}

SkinRectFields parseSkinRect(std::string_view text) {
    std::array<int, 4> fields{1, 1, 1, 1};
    scanDecimalList(text, fields);
    const auto coordinate = [](int value) {
        return std::clamp(value, -kMaxSkinCoordinate, kMaxSkinCoordinate);
    };
    const auto extent = [](int value) { return std::clamp(value, 0, kMaxSkinCoordinate); };
    return {coordinate(fields[0]), coordinate(fields[1]), extent(fields[2]), extent(fields[3])};
}

SkinRectFields readSkinRectFields(const std::filesystem::path& skinFile, std::string_view section,
                                  std::string_view key) {
    return parseSkinRect(readIniString(skinFile, section, key, kMissingRect));
}

}  // namespace quillmar::text
