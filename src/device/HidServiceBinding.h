#pragma once

#include "device/HidService.h"

#include <string>
#include <string_view>

namespace quillmar::device {

inline constexpr const char* kHidlaneEnvironmentVariable = "QUILLMAR_HIDLANE";
inline constexpr const char* kHidlaneLibrary = "libhidlane.so";
inline constexpr const char* kHidlaneSimLibrary = "libhidlane-sim.so";

struct HidServiceBinding {
    HidService service;
    std::string error;  // empty when bound and started
    bool ok() const { return error.empty(); }
};

// The folder of the running executable, with a trailing '/'.
std::string programDirectory();

// Which library file to load: the default one in the program directory,
// "sim" for the simulated keyboard beside it, any other override as a path.
std::string hidlaneLibraryPath(std::string_view programDir, const char* override);

// Loads the library, resolves all twelve entry points and calls Init(0).
// The library stays loaded for the life of the process.
HidServiceBinding tryBindHidService(const std::string& libraryPath);

// The program's binding, from QUILLMAR_HIDLANE and the program directory. The
// program cannot run without the library, so any failure ends the process
// at once with code 0 and no message.
HidService bindHidServiceOrExit();

}  // namespace quillmar::device
