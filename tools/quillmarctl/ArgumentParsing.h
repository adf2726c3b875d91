#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmar::ctl {

// A decimal number from lowest to highest, nothing else in the text.
std::optional<int> parseNumberInRange(std::string_view text, int lowest, int highest);

// Takes a leading "--profile N" or "--profile=N" (N 1 to 3) off the
// arguments and gives the keyboard's profile 0 to 2 in profile. False when
// the option is there but malformed.
bool takeProfileOption(std::vector<std::string>& arguments, std::optional<int>& profile);

// What is said when a profile number is not one.
inline constexpr std::string_view kProfileRange = "the profile must be 1-3";

}  // namespace quillmar::ctl
