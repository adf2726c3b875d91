#include "platform/SocketInstanceSignal.h"

#include "platform/LocalSocket.h"

#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace quillmar::platform {
namespace {

constexpr std::chrono::milliseconds kTagTimeout{2000};
constexpr std::chrono::milliseconds kSendTimeout{2000};

class Connection {
public:
    Connection() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Connection() {
        if (fd_ >= 0) ::close(fd_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace

SocketInstanceSignal::SocketInstanceSignal(std::filesystem::path runtimeFolder,
                                           std::chrono::milliseconds answerTimeout)
    : runtimeFolder_(std::move(runtimeFolder)), answerTimeout_(answerTimeout) {}

bool SocketInstanceSignal::SignalInstance(int pid, InstanceRequest request) {
    const std::filesystem::path path = instanceSocketPath(runtimeFolder_, pid);
    const auto address = localSocketAddress(path);
    Connection connection;
    if (!address || connection.fd() < 0) return false;
    if (::connect(connection.fd(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        // Nobody listens on it: its process ended without removing it.
        if (errno == ECONNREFUSED) removeSocketFile(path);
        return false;
    }
    std::array<std::byte, 4> tag{};
    if (!receiveAll(connection.fd(), tag, kTagTimeout) || getWord(tag) != kMainWindowTag) return false;

    const InstanceMessage message = messageFor(request);
    std::array<std::byte, 12> bytes{};
    putWord(std::span(bytes).subspan<0, 4>(), message.message);
    putWord(std::span(bytes).subspan<4, 4>(), message.wParam);
    putWord(std::span(bytes).subspan<8, 4>(), message.lParam);
    if (!sendAll(connection.fd(), bytes, kSendTimeout)) return false;

    // The window answers once it has handled the message; a window busy with
    // a message box may take longer than we wait, which is no failure.
    std::array<std::byte, 1> done{};
    receiveAll(connection.fd(), done, answerTimeout_);
    return true;
}

// Only a socket that answers the "MAIN" tag is a window: files of ended
// processes are removed on the way.
int SocketInstanceSignal::SignalRunningInstance(InstanceRequest request) {
    const int self = static_cast<int>(::getpid());
    for (int pid : instanceSocketPids(runtimeFolder_)) {
        if (pid != self && SignalInstance(pid, request)) return pid;
    }
    return 0;
}

}  // namespace quillmar::platform
