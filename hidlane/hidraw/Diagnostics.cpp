#include "Diagnostics.h"

#include "HidrawEnumeration.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quillmar::hidraw {

void Diagnostics::note(const std::string& text) const {
    if (level() > 0) std::fprintf(stderr, "hidlane: %s\n", text.c_str());
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
