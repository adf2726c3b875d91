#include "EnglishTexts.h"

#include "device/HidServiceBinding.h"
#include "text/IniFile.h"
#include "text/StringTable.h"
#include "text/Utf.h"

namespace quillmar::ctl {

EnglishTexts::EnglishTexts()
    : EnglishTexts(std::filesystem::path(device::programDirectory()) / "Skins" / "language.ini") {}

EnglishTexts::EnglishTexts(std::filesystem::path languageFile) : languageFile_(std::move(languageFile)) {}

std::u16string EnglishTexts::text(std::string_view key, std::u16string_view builtIn) const {
    const std::string found = text::readIniString(languageFile_, text::kEnglishSection, key, "");
    return found.empty() ? std::u16string(builtIn) : text::toUtf16(found);
}

}  // namespace quillmar::ctl
