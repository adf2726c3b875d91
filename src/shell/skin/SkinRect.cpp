#include "shell/skin/SkinRect.h"

namespace quillmar::shell {

SkinRect readSkinRect(const std::filesystem::path& skinFile, std::string_view section,
                      std::string_view key) {
    return {text::readSkinRectFields(skinFile, section, key)};
}

}  // namespace quillmar::shell
