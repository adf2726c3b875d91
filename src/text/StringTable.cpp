#include "text/StringTable.h"

#include "text/DecimalText.h"
#include "text/IniFile.h"
#include "text/Utf.h"

#include <algorithm>

namespace quillmar::text {
namespace {

constexpr std::string_view kMissingText = " ";

}  // namespace

StringTable::StringTable(std::filesystem::path languageFile)
    : languageFile_(std::move(languageFile)) {
    for (const TextSlotInfo& info : kTextSlots) {
        slots_[static_cast<std::size_t>(info.slot)] = std::u16string(info.builtIn);
    }
}

std::string StringTable::ChooseLanguageSection() const {
    const std::string choice = readIniString(languageFile_, kLanguageSection, kLanguageKey, " ");
    return std::string(leadingDecimal(choice) == 1 ? kEnglishSection : kChineseSection);
}

void StringTable::LoadStringTable() {
    const std::string section = ChooseLanguageSection();
    for (const TextSlotInfo& info : kTextSlots) {
        slots_[static_cast<std::size_t>(info.slot)] =
            toUtf16(readIniString(languageFile_, section, info.key, kMissingText));
    }
}

std::u16string StringTable::ReadText(std::string_view key) const {
    return toUtf16(readIniString(languageFile_, ChooseLanguageSection(), key, kMissingText));
}

std::u16string StringTable::text(std::string_view key, std::u16string_view) const {
    const auto found = std::find_if(kTextSlots.begin(), kTextSlots.end(),
                                    [key](const TextSlotInfo& info) { return info.key == key; });
    return found != kTextSlots.end() ? slot(found->slot) : ReadText(key);
}

}  // namespace quillmar::text
