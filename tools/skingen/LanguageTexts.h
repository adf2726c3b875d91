#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillmar::skingen {

// One key of the language file with its English and Chinese text.
struct LanguageText {
    std::string_view key;
    std::string_view english;
    std::string_view chinese;
};

// Every key the program reads from "language.ini": the load-time texts and
// the on-demand ones. "%d", "%03x" and "%s" stay exactly where the callers
// expect them.
const std::vector<LanguageText>& languageTexts();

// The whole file: English selected, then sections "ENGINSH" and "CHINESE".
// The version goes into the version label's text.
std::string languageFile(std::string_view version);

}  // namespace quillmar::skingen
