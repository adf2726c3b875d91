#pragma once

#include "text/Texts.h"
#include "text/TextSlots.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace quillmar::text {

// The language file's section and key that choose the language.
inline constexpr std::string_view kLanguageSection = "LANGUAGE";
inline constexpr std::string_view kLanguageKey = "language";
inline constexpr std::string_view kEnglishSection = "ENGINSH";
inline constexpr std::string_view kChineseSection = "CHINESE";

// Every user-visible text, from the language file "Skins/language.ini".
//
// The load-time slots hold their built-in texts until LoadStringTable, which
// copies the file's text into every slot unconditionally: a key the file
// lacks (or a missing file) leaves a single space, as the file is the only
// source of the product's texts once loaded. Load once at start, before the
// table is shared with other threads.
class StringTable final : public text::Texts {
public:
    explicit StringTable(std::filesystem::path languageFile);

    // "ENGINSH" when the file's "language" value reads as the number 1,
    // else "CHINESE".
    std::string ChooseLanguageSection() const;

    void LoadStringTable();

    // The key's text in the language chosen now, read from the file now;
    // " " when the key is missing.
    std::u16string ReadText(std::string_view key) const;

    const std::u16string& slot(TextSlot slot) const {
        return slots_[static_cast<std::size_t>(slot)];
    }

    // A load-time key gives its slot; any other key is read with ReadText.
    // builtIn is not used: the slots already hold the built-in texts.
    std::u16string text(std::string_view key, std::u16string_view builtIn) const override;

private:
    std::filesystem::path languageFile_;
    std::array<std::u16string, kTextSlotCount> slots_;
};

}  // namespace quillmar::text
