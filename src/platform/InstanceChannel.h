#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

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

enum class InstanceRequest { Show = 0, Close = 1, Reload = 2 };

// "OPEN" for Show, "KILL" for Close; for Reload "PROF" with lParam 1: read
// the keyboard again, as on its arrival, because another program changed it.
InstanceMessage messageFor(InstanceRequest request);
// True for the messages another program of the user may send.
bool isInstanceRequest(const InstanceMessage& message);

// The local socket the main window of process `pid` listens on.
std::filesystem::path instanceSocketPath(const std::filesystem::path& runtimeFolder, int pid);

// The pids of the main-window sockets in the runtime folder, ascending; some
// may be left over from ended processes.
std::vector<int> instanceSocketPids(const std::filesystem::path& runtimeFolder);

// Passes a request to the main window of another process.
class InstanceSignal {
public:
    virtual ~InstanceSignal() = default;
    // True once a window answering the "MAIN" tag took the request; false
    // when the process has no such window.
    virtual bool SignalInstance(int pid, InstanceRequest request) = 0;
    // Passes the request to the running main window of this user's session,
    // found by its socket in the runtime folder (never this process's own);
    // its pid, 0 when no window took it.
    virtual int SignalRunningInstance(InstanceRequest request) = 0;
};

}  // namespace quillmar::platform
