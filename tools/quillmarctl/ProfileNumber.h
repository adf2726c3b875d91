#pragma once

#include <optional>
#include <string>

namespace quillmar::ctl {

// A profile as the user names it, 1 to 3, turned into the keyboard's 0 to 2.
std::optional<int> parseProfileNumber(const std::string& text);

}  // namespace quillmar::ctl
