#include "StandingRead.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace quillmar::hidraw {
namespace {
constexpr size_t kReportCapacity = 16384; // the kernel's largest hidraw report
}

StandingRead::StandingRead(std::shared_ptr<HidrawSystem> system, std::shared_ptr<const DeviceTable> table,
                           Diagnostics& diagnostics, uint32_t unitId, const HidSelector& selector, HidlaneCallback callback, uint32_t tag)
    : system_(std::move(system)), table_(std::move(table)), diagnostics_(diagnostics), unitId_(unitId), selector_(selector),
      callback_(callback), tag_(tag), buffer_(kReportCapacity) {}

StandingRead::~StandingRead() {
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

bool StandingRead::readsCommandInterface() const {
    return selector_.usagePage == HIDLANE_COMMAND_USAGE_PAGE && selector_.usage == HIDLANE_COMMAND_USAGE;
}

bool StandingRead::start() {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) return false;
    wake(); // attach at once to a keyboard that is already there
    thread_ = std::thread([self = shared_from_this()] { self->run(); });
    return true;
}

void StandingRead::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake();
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id()) thread_.detach();
    else thread_.join();
}

void StandingRead::devicesChanged() {
    {
        std::lock_guard lock(mutex_);
        recheck_ = true;
    }
    wake();
}

void StandingRead::deliverDeviceCount(int count) {
    {
        std::lock_guard lock(mutex_);
        pendingCounts_.push_back(count);
    }
    wake();
}

void StandingRead::wake() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void StandingRead::run() {
    for (;;) {
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {deviceFd_, POLLIN, 0}};
        const nfds_t count = deviceFd_ >= 0 ? 2 : 1;
        if (system_->pollFds(fds, count, -1) < 0 && errno != EINTR) break;
        if (count == 2 && (fds[1].revents & POLLIN)) readReport();
        else if (count == 2 && fds[1].revents) detach(); // hung up with nothing left to read
        takeWake();
        std::lock_guard lock(mutex_);
        if (stopping_) break;
    }
    detach();
}

// Reattaching comes before the counts so that a count event finds the device open.
void StandingRead::takeWake() {
    uint64_t value;
    [[maybe_unused]] ssize_t n = ::read(wakeFd_, &value, sizeof value);
    bool recheck;
    std::deque<int> counts;
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        recheck = recheck_;
        recheck_ = false;
        counts.swap(pendingCounts_);
    }
    if (recheck) reattach();
    for (int c : counts) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
        }
        call(HIDLANE_EVENT_DEVICE_COUNT, uint32_t(c), nullptr);
    }
}

void StandingRead::reattach() {
    if (deviceFd_ >= 0 && !table_->contains(attached_)) detach();
    if (deviceFd_ >= 0) return;
    auto node = table_->first(selector_);
    if (!node) return;
    int fd = system_->openNode(node->devNode, O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        diagnostics_.openFailed(*node, errno);
        return;
    }
    deviceFd_ = fd;
    attached_ = *node;
    // A consumer notice is handed over without its report id, so that its first two bytes
    // are the event code; command answers keep the id as part of the 64-byte frame.
    stripReportId_ = !readsCommandInterface() && node->descriptor.numberedReports;
    diagnostics_.note("reading " + node->devNode.string());
}

void StandingRead::readReport() {
    ssize_t n = system_->readReport(deviceFd_, buffer_.data(), buffer_.size());
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n <= 0) { // the keyboard went away under the read
        diagnostics_.note("lost " + attached_.devNode.string());
        detach();
        return;
    }
    const size_t skip = stripReportId_ ? 1 : 0;
    if (size_t(n) <= skip) return;
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
    }
    call(HIDLANE_EVENT_DATA, uint32_t(size_t(n) - skip), buffer_.data() + skip);
}

void StandingRead::detach() {
    if (deviceFd_ < 0) return;
    system_->closeNode(deviceFd_);
    deviceFd_ = -1;
    attached_ = HidrawNode{};
}

void StandingRead::call(uint32_t kind, uint32_t lengthOrCount, const uint8_t* data) {
    HidlaneRequestRecord record{tag_, lengthOrCount, data};
    HidlaneEvent event{kind, &record};
    callback_(&event);
}

} // namespace quillmar::hidraw
