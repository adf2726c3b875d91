#include "EnglishTexts.h"

#include "device/HidServiceBinding.h"
#include "profiles/IniFile.h"
#include "profiles/StringTable.h"
#include "profiles/Utf.h"

namespace quillmar::ctl {

EnglishTexts::EnglishTexts()
    : EnglishTexts(std::filesystem::path(device::programDirectory()) / "Skins" / "language.ini") {}

EnglishTexts::EnglishTexts(std::filesystem::path languageFile) : languageFile_(std::move(languageFile)) {}

std::u16string EnglishTexts::text(std::string_view key, std::u16string_view builtIn) const {
    const std::string found = profiles::readIniString(languageFile_, profiles::kEnglishSection, key, "");
    return found.empty() ? std::u16string(builtIn) : profiles::toUtf16(found);
}

}  // namespace quillmar::ctl
