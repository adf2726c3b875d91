#pragma once

#include <filesystem>
#include <string>

#include "text/Texts.h"
#include "profiles/ProfileFileContentCheck.h"

namespace quillmar::profiles {

// What the user is told about a refused file: the problem's text from the
// string table with its number and the file's path filled in.
std::u16string contentProblemMessage(const ContentProblem& problem, const std::filesystem::path& path,
                                     const text::Texts& texts);

// The text of a slot with "%d" replaced by number and "%s" by the path (each
// once; a translation cannot act as a format of its own).
std::u16string fillNumberAndPath(std::u16string format, int number, const std::filesystem::path& path);

}  // namespace quillmar::profiles
