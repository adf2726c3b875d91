#include "ArgumentParsing.h"

#include "ProfileNumber.h"

#include <charconv>

namespace quillmar::ctl {

std::optional<int> parseNumberInRange(std::string_view text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

bool takeProfileOption(std::vector<std::string>& arguments, std::optional<int>& profile) {
    constexpr std::string_view kOption = "--profile";
    if (arguments.empty() || !arguments.front().starts_with(kOption)) return true;
    const std::string& word = arguments.front();
    std::size_t taken = 1;
    std::string value;
    if (word == kOption) {
        if (arguments.size() < 2) return false;
        value = arguments[1];
        taken = 2;
    } else if (word[kOption.size()] == '=') {
        value = word.substr(kOption.size() + 1);
    } else {
        return false;
    }
    profile = parseProfileNumber(value);
    arguments.erase(arguments.begin(), arguments.begin() + static_cast<std::ptrdiff_t>(taken));
    return profile.has_value();
}

}  // namespace quillmar::ctl
