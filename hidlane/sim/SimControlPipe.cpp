#include "hidlane/sim/SimControlPipe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace quillmar::sim {
namespace {

constexpr int kReopenPauseMs = 50;

bool wakeRequested(int wakeFd) {
    pollfd probe{wakeFd, POLLIN, 0};
    return ::poll(&probe, 1, 0) > 0;
}

}  // namespace

SimControlPipe::SimControlPipe(std::filesystem::path fifo, LineHandler handler)
    : fifo_(std::move(fifo)), handler_(std::move(handler)), wakeFd_(::eventfd(0, EFD_CLOEXEC)) {
    if (wakeFd_ >= 0) reader_ = std::thread([this] { run(); });
}

SimControlPipe::~SimControlPipe() {
    if (reader_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto written = ::write(wakeFd_, &one, sizeof one);
        reader_.join();
    }
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

int SimControlPipe::openFifo() const {
    ::mkfifo(fifo_.c_str(), 0600);  // fails harmlessly when it exists
    const int fd = ::open(fifo_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISFIFO(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void SimControlPipe::run() {
    while (!wakeRequested(wakeFd_)) {
        const int fd = openFifo();
        if (fd < 0) {
            // Not a FIFO or not reachable: wait for the stop request only.
            pollfd wake{wakeFd_, POLLIN, 0};
            ::poll(&wake, 1, -1);
            return;
        }
        bool open = true;
        while (open) {
            pollfd watched[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
            if (::poll(watched, 2, -1) < 0 && errno != EINTR) break;
            if (watched[1].revents) {
                ::close(fd);
                return;
            }
            if (watched[0].revents) open = readAvailable(fd);
        }
        ::close(fd);
        pending_.clear();
        pollfd wake{wakeFd_, POLLIN, 0};
        ::poll(&wake, 1, kReopenPauseMs);
    }
}

bool SimControlPipe::readAvailable(int fd) {
    char chunk[512];
    const ssize_t count = ::read(fd, chunk, sizeof chunk);
    if (count < 0) return errno == EAGAIN || errno == EINTR;
    if (count == 0) return false;
    pending_.append(chunk, static_cast<std::size_t>(count));
    takeLines();
    return true;
}

void SimControlPipe::takeLines() {
    std::size_t end;
    while ((end = pending_.find('\n')) != std::string::npos) {
        std::string_view line(pending_.data(), end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        handler_(line);
        pending_.erase(0, end + 1);
    }
    if (pending_.size() > kLongestLine) pending_.clear();  // no sane command is that long
}

}  // namespace quillmar::sim
