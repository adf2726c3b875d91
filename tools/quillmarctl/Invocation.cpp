#include "Invocation.h"

namespace quillmar::ctl {

const char* const kUsageText =
    "usage: quillmarctl [--device sim|PATH] COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  info                  the active profile, macro memory and lighting effects\n"
    "  profile [N]           show or set the active profile (1-3)\n"
    "  doctor                check that this user can reach the keyboard\n"
    "\n"
    "--device picks the HID service library: sim for the simulated keyboard, or the\n"
    "path of a library; by default QUILLMAR_HIDLANE, else libhidlane.so beside the tool.\n"
    "exit codes: 0 done, 1 keyboard error, 2 bad usage, 3 file refused\n";

std::optional<Invocation> parseInvocation(const std::vector<std::string>& words) {
    Invocation invocation;
    std::size_t next = 0;
    while (next < words.size() && words[next].starts_with("--device")) {
        const std::string& word = words[next];
        if (word == "--device") {
            if (next + 1 >= words.size()) return std::nullopt;
            invocation.device = words[next + 1];
            next += 2;
        } else if (word.starts_with("--device=")) {
            invocation.device = word.substr(9);
            next += 1;
        } else {
            return std::nullopt;
        }
        if (invocation.device.empty()) return std::nullopt;
    }
    if (next >= words.size()) return std::nullopt;
    invocation.command = words[next];
    invocation.arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(next) + 1, words.end());
    return invocation;
}

}  // namespace quillmar::ctl
