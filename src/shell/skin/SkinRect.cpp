#include "shell/skin/SkinRect.h"

#include "profiles/DecimalText.h"
#include "profiles/IniFile.h"

#include <algorithm>
#include <array>

namespace quillmar::shell {

namespace {
constexpr std::string_view kMissingRect = "1,1,1,1,x";
}

SkinRect readSkinRect(const std::filesystem::path& skinFile, std::string_view section,
                      std::string_view key) {
    const std::string text = profiles::readIniString(skinFile, section, key, kMissingRect);
    std::array<int, 4> fields{1, 1, 1, 1};
    profiles::scanDecimalList(text, fields);
    return {fields[0], fields[1], std::max(fields[2], 0), std::max(fields[3], 0)};
}

}  // namespace quillmar::shell
