#include "platform/InstanceListener.h"

#include "platform/LocalSocket.h"
#include "platform/PrivateFolder.h"

#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace quillmar::platform {
namespace {

// A peer that has connected sends its message at once; waiting longer would
// only let a stuck or hostile peer hold up the window.
constexpr std::chrono::milliseconds kPeerTimeout{250};

class AcceptedConnection {
public:
    explicit AcceptedConnection(int fd) : fd_(fd) {}
    ~AcceptedConnection() {
        if (fd_ >= 0) ::close(fd_);
    }
    AcceptedConnection(const AcceptedConnection&) = delete;
    AcceptedConnection& operator=(const AcceptedConnection&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

bool isSameUser(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::getuid();
}

std::optional<InstanceMessage> readMessage(int fd) {
    std::array<std::byte, 12> bytes{};
    if (!receiveAll(fd, bytes, kPeerTimeout)) return std::nullopt;
    const InstanceMessage message{getWord(std::span(bytes).subspan<0, 4>()),
                                  getWord(std::span(bytes).subspan<4, 4>()),
                                  getWord(std::span(bytes).subspan<8, 4>())};
    if (!isInstanceRequest(message)) return std::nullopt;
    return message;
}

}  // namespace

std::unique_ptr<InstanceListener> InstanceListener::listen(const std::filesystem::path& runtimeFolder,
                                                           int pid, Handler handler) {
    if (!preparePrivateFolder(runtimeFolder)) return nullptr;
    const std::filesystem::path path = instanceSocketPath(runtimeFolder, pid);
    const auto address = localSocketAddress(path);
    if (!address) return nullptr;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return nullptr;
    removeSocketFile(path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::listen(fd, 8) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<InstanceListener>(new InstanceListener(fd, path, std::move(handler)));
}

InstanceListener::InstanceListener(int fd, std::filesystem::path path, Handler handler)
    : fd_(fd), path_(std::move(path)), socketFileId_(socketFileId(path_)), handler_(std::move(handler)) {}

InstanceListener::~InstanceListener() {
    ::close(fd_);
    // A newer listener of the same name may have replaced the file.
    if (socketFileId_ != 0 && socketFileId(path_) == socketFileId_) ::unlink(path_.c_str());
}

void InstanceListener::acceptOne() {
    AcceptedConnection connection(::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (connection.fd() < 0 || !isSameUser(connection.fd())) return;
    std::array<std::byte, 4> tag{};
    putWord(tag, kMainWindowTag);
    if (!sendAll(connection.fd(), tag, kPeerTimeout)) return;
    const std::optional<InstanceMessage> message = readMessage(connection.fd());
    if (!message) return;
    // The handler may end this listener (a close request): run a copy and
    // touch nothing of *this afterwards.
    const Handler handler = handler_;
    handler(*message);
    const std::array<std::byte, 1> done{std::byte{1}};
    sendAll(connection.fd(), done, kPeerTimeout);
}

}  // namespace quillmar::platform
