#include "platform/StartOptions.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace quillmar::platform {
namespace {

bool isOption(std::string_view argument, std::string_view option) {
    return std::ranges::equal(argument, option, [](unsigned char a, unsigned char b) {
        return std::tolower(a) == std::tolower(b);
    });
}

}  // namespace

StartOptions ReadStartOptions(const std::vector<std::string>& arguments) {
    StartOptions options;
    for (const std::string& argument : arguments) {
        if (isOption(argument, "/Kill")) options.kill = true;
        if (isOption(argument, "/Start")) options.startHidden = true;
    }
    return options;
}

StartOptions ReadStartOptions(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int index = 1; index < argc; ++index) arguments.emplace_back(argv[index]);
    return ReadStartOptions(arguments);
}

}  // namespace quillmar::platform
