#include "platform/LocalSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillmar::platform {
namespace {

using Clock = std::chrono::steady_clock;

// Waits for `events` on fd until the deadline; false when it passes.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd watched{fd, events, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
}

}  // namespace

std::optional<sockaddr_un> localSocketAddress(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string& text = path.native();
    if (text.empty() || text.size() >= sizeof address.sun_path) return std::nullopt;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return address;
}

std::uint64_t socketFileId(const std::filesystem::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) return 0;
    return static_cast<std::uint64_t>(status.st_ino);
}

void removeSocketFile(const std::filesystem::path& path) {
    if (socketFileId(path) != 0) ::unlink(path.c_str());
}

bool sendAll(int fd, std::span<const std::byte> bytes, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!bytes.empty()) {
        if (!waitFor(fd, POLLOUT, deadline)) return false;
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(sent));
    }
    return true;
}

bool receiveAll(int fd, std::span<std::byte> bytes, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!bytes.empty()) {
        if (!waitFor(fd, POLLIN, deadline)) return false;
        const ssize_t received = ::recv(fd, bytes.data(), bytes.size(), MSG_DONTWAIT);
        if (received == 0) return false;
        if (received < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(received));
    }
    return true;
}

void putWord(std::span<std::byte, 4> out, std::uint32_t value) {
    for (int index = 0; index < 4; ++index) {
        out[static_cast<std::size_t>(index)] = static_cast<std::byte>(value >> (24 - 8 * index));
    }
}

std::uint32_t getWord(std::span<const std::byte, 4> in) {
    std::uint32_t value = 0;
    for (std::byte byte : in) value = (value << 8) | std::to_integer<std::uint32_t>(byte);
    return value;
}

}  // namespace quillmar::platform
