#include "platform/InstanceListener.h"
#include "platform/SocketInstanceSignal.h"

#include "platform/ChildProcess.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace quillmar::platform {
namespace {

using testing::ChildProcess;
using testing::TempFolder;

constexpr int kWindowPid = 4242;  // sockets are named by pid; any number will do here

class InstanceChannel : public ::testing::Test {
protected:
    void SetUp() override {
        listener = InstanceListener::listen(folder.path(), kWindowPid,
                                            [this](const InstanceMessage& m) { received.push_back(m); });
        ASSERT_NE(listener, nullptr);
    }

    // Serves connections until the child ends; its exit code.
    int serveUntilEnded(ChildProcess& child) {
        int code = -1;
        while (!child.hasEnded(code)) {
            pollfd watched{listener->fd(), POLLIN, 0};
            if (::poll(&watched, 1, 20) > 0) listener->acceptOne();
        }
        return code;
    }

    // A raw peer: connects, writes `bytes` and closes once the window has served it.
    void rawPeer(const std::string& bytes) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, listener->socketPath().c_str());
        ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        if (!bytes.empty()) {
            ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
        }
        listener->acceptOne();
        ::close(fd);
    }

    TempFolder folder;
    std::vector<InstanceMessage> received;
    std::unique_ptr<InstanceListener> listener;
};

TEST_F(InstanceChannel, ARequestFromAnotherProcessReachesTheWindowBeforeTheSenderGoesOn) {
    for (const InstanceRequest request : {InstanceRequest::Show, InstanceRequest::Close}) {
        received.clear();
        const std::filesystem::path runtime = folder.path();
        ChildProcess sender([&] { return SocketInstanceSignal(runtime).SignalInstance(kWindowPid, request) ? 1 : 0; });
        EXPECT_EQ(serveUntilEnded(sender), 1);
        EXPECT_EQ(received, std::vector{messageFor(request)});
    }
    EXPECT_EQ(messageFor(InstanceRequest::Show), (InstanceMessage{0x5350, 0x4F50454E, 0}));
    EXPECT_EQ(messageFor(InstanceRequest::Close), (InstanceMessage{0x4D4B, 0x4C4C494B, 0}));
}

std::string words(std::initializer_list<std::uint32_t> values) {
    std::string bytes;
    for (std::uint32_t value : values) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>(value >> shift));
    }
    return bytes;
}

TEST_F(InstanceChannel, GarbageIsDroppedAndTheWindowListensOn) {
    const std::string kGarbage[] = {
        "",                                        // says nothing
        "OPE",                                     // too short
        words({0x4D4E, 0x494E4954, 0}),            // "INIT": not for other processes
        words({0x5350, 0x4F50454E, 1}),            // "OPEN" with a parameter
        words({0x5350, 0x4C4C494B, 0}),            // mixed up
        std::string(4096, '\xFF'),
    };
    for (const std::string& bytes : kGarbage) rawPeer(bytes);
    EXPECT_TRUE(received.empty());

    rawPeer(words({0x5350, 0x4F50454E, 0}));
    EXPECT_EQ(received, std::vector{messageFor(InstanceRequest::Show)});
}

TEST_F(InstanceChannel, NothingWaitingReturnsAtOnce) {
    listener->acceptOne();
    EXPECT_TRUE(received.empty());
}

TEST_F(InstanceChannel, APeerWithoutTheMainTagIsPassedOver) {
    const std::filesystem::path path = instanceSocketPath(folder.path(), 4343);
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(server, 1), 0);
    ChildProcess other([server] {
        const int peer = ::accept(server, nullptr, nullptr);
        const std::string tag = words({0x4F544852});  // "OTHR"
        ::send(peer, tag.data(), tag.size(), MSG_NOSIGNAL);
        std::array<char, 64> ignored{};
        return ::recv(peer, ignored.data(), ignored.size(), 0) > 0 ? 1 : 0;  // 1: it was sent a message
    });
    EXPECT_FALSE(SocketInstanceSignal(folder.path()).SignalInstance(4343, InstanceRequest::Close));
    EXPECT_EQ(other.wait(), 0);
    ::close(server);
}

// A socket file whose process ended without removing it.
void leaveStaleSocket(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

TEST_F(InstanceChannel, StaleSocketFilesAreCleanedUp) {
    const std::filesystem::path stale = instanceSocketPath(folder.path(), 5151);
    leaveStaleSocket(stale);
    EXPECT_FALSE(SocketInstanceSignal(folder.path()).SignalInstance(5151, InstanceRequest::Show));
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_FALSE(SocketInstanceSignal(folder.path()).SignalInstance(5252, InstanceRequest::Show));

    // A new process that got the old id replaces the file and is reachable.
    leaveStaleSocket(stale);
    std::vector<InstanceMessage> got;
    auto reused = InstanceListener::listen(folder.path(), 5151, [&](const InstanceMessage& m) { got.push_back(m); });
    ASSERT_NE(reused, nullptr);
    const std::filesystem::path runtime = folder.path();
    ChildProcess sender([&] { return SocketInstanceSignal(runtime).SignalInstance(5151, InstanceRequest::Close) ? 1 : 0; });
    int code = -1;
    while (!sender.hasEnded(code)) {
        pollfd watched{reused->fd(), POLLIN, 0};
        if (::poll(&watched, 1, 20) > 0) reused->acceptOne();
    }
    EXPECT_EQ(code, 1);
    EXPECT_EQ(got, std::vector{messageFor(InstanceRequest::Close)});

    reused.reset();
    EXPECT_FALSE(std::filesystem::exists(stale));
}

TEST_F(InstanceChannel, TheHandlerMayEndTheListener) {
    bool handled = false;
    std::unique_ptr<InstanceListener> closing;
    closing = InstanceListener::listen(folder.path(), 6161, [&](const InstanceMessage&) {
        handled = true;
        closing.reset();
    });
    ASSERT_NE(closing, nullptr);
    const std::filesystem::path runtime = folder.path();
    ChildProcess sender([&] { return SocketInstanceSignal(runtime).SignalInstance(6161, InstanceRequest::Close) ? 1 : 0; });
    pollfd watched{closing->fd(), POLLIN, 0};
    ASSERT_GT(::poll(&watched, 1, 5000), 0);
    closing->acceptOne();
    EXPECT_TRUE(handled);
    EXPECT_EQ(closing, nullptr);
    EXPECT_EQ(sender.wait(), 1);
}

}  // namespace
}  // namespace quillmar::platform
