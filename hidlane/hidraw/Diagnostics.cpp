#include "Diagnostics.h"

#include "HidrawEnumeration.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quillmar::hidraw {

void Diagnostics::note(const std::string& text) const {
    if (level() > 0) std::fprintf(stderr, "hidlane: %s\n", text.c_str());
}

void Diagnostics::report(const char* direction, const std::string& devNode, std::span<const uint8_t> bytes) const {
    if (level() < 2) return;
    std::string line = "hidlane: " + devNode + " " + direction;
    char hex[4];
    for (uint8_t byte : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", byte);
        line += hex;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

void Diagnostics::openFailed(const HidrawNode& node, int error) {
    const bool denied = error == EACCES || error == EPERM;
    if (!denied) {
        note("cannot open " + node.devNode.string() + ": " + std::strerror(error));
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (!toldAbout_.insert(node.keyboardKey).second && level() == 0) return;
    }
    std::fprintf(stderr, "hidlane: %s\n", permissionAdvice(node.devNode.string()).c_str());
}

std::string permissionAdvice(const std::string& devNode) {
    return "The Quillmar keyboard is connected, but you are not allowed to open " + devNode +
           ". Install the package's udev rule (70-quillmar.rules) and plug the keyboard in again; "
           "run \"quillmarctl doctor\" for the exact steps.";
}

} // namespace quillmar::hidraw
