#pragma once

#include <string>
#include <vector>

namespace quillmar::platform {

// The command-line options, compared ignoring case; others are ignored.
struct StartOptions {
    bool kill = false;        // "/Kill": close the running instance
    bool startHidden = false; // "/Start": stay in the tray when the keyboard is found
};

// The arguments after the program name.
StartOptions ReadStartOptions(const std::vector<std::string>& arguments);
StartOptions ReadStartOptions(int argc, const char* const* argv);

}  // namespace quillmar::platform
