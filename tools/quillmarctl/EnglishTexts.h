#pragma once

#include "text/Texts.h"

#include <filesystem>

namespace quillmar::ctl {

// The texts of the language file's English section, so the tool words the
// keyboard's and the import check's messages as the window does in English.
// A text the file lacks (or a missing file) gives the built-in text.
class EnglishTexts final : public text::Texts {
public:
    // The language file of the program directory the tool runs from.
    EnglishTexts();
    explicit EnglishTexts(std::filesystem::path languageFile);

    std::u16string text(std::string_view key, std::u16string_view builtIn) const override;

private:
    std::filesystem::path languageFile_;
};

}  // namespace quillmar::ctl
