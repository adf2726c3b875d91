#pragma once

#include <cstdint>
#include <filesystem>

namespace quillmar::platform {

// The tag a main window answers with, "MAIN" read as one big-endian word.
inline constexpr std::uint32_t kMainWindowTag = 0x4D41494E;

// A custom window message as it crosses between instances.
struct InstanceMessage {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    friend bool operator==(const InstanceMessage&, const InstanceMessage&) = default;
};

enum class InstanceRequest { Show = 0, Close = 1 };

// "OPEN" for Show, "KILL" for Close.
InstanceMessage messageFor(InstanceRequest request);
// True for the two messages another instance may send.
bool isInstanceRequest(const InstanceMessage& message);

// The local socket the main window of process `pid` listens on.
std::filesystem::path instanceSocketPath(const std::filesystem::path& runtimeFolder, int pid);

// Passes a request to the main window of another process.
class InstanceSignal {
public:
    virtual ~InstanceSignal() = default;
    // True once a window answering the "MAIN" tag took the request; false
    // when the process has no such window.
    virtual bool SignalInstance(int pid, InstanceRequest request) = 0;
};

}  // namespace quillmar::platform
