#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillmar::ctl {

// One command line: the device option, the command and its arguments.
struct Invocation {
    std::string device;  // "sim", a library path, or empty for the default
    std::string command;
    std::vector<std::string> arguments;
};

// Nothing when the line is not of the form [--device sim|PATH] COMMAND [ARG…].
std::optional<Invocation> parseInvocation(const std::vector<std::string>& words);

extern const char* const kUsageText;

}  // namespace quillmar::ctl
