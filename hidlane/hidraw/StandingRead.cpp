#include "StandingRead.h"

#include "NodeAccess.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <system_error>

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
    {
        std::lock_guard lock(mutex_);
        recheck_ = false;
    }
    reattach(); // the thread does not run yet: the node is ours to open here
    deliveredCount_ = usableCount();
    try {
        thread_ = std::thread([self = shared_from_this()] { self->run(); });
    } catch (const std::system_error& error) {
        diagnostics_.note(std::string("cannot start a reader thread: ") + error.what());
        detach();
        return false;
    }
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

void StandingRead::wake() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void StandingRead::run() {
    try {
        loop();
    } catch (const std::exception& error) {
        diagnostics_.note(std::string("reader stopped: ") + error.what());
    }
    detach();
}

void StandingRead::loop() {
    for (;;) {
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {deviceFd_, POLLIN, 0}};
        const nfds_t count = deviceFd_ >= 0 ? 2 : 1;
        if (system_->pollFds(fds, count, -1) < 0 && errno != EINTR) {
            diagnostics_.note(std::string("reader stopped: poll failed: ") + std::strerror(errno));
            break;
        }
        if (count == 2 && (fds[1].revents & POLLIN)) readReport();
        else if (count == 2 && fds[1].revents) detach(); // hung up or failed, nothing left to read
        takeWake();
        std::lock_guard lock(mutex_);
        if (stopping_) break;
    }
}

// Reattaching comes before the count so that a count event finds the node open.
void StandingRead::takeWake() {
    uint64_t value;
    [[maybe_unused]] ssize_t n = ::read(wakeFd_, &value, sizeof value);
    bool recheck;
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        recheck = recheck_;
        recheck_ = false;
    }
    if (recheck) reattach();
    deliverCountChange();
}

// The command read speaks for the keyboards: they count once its node is open, so that a
// keyboard whose node cannot be opened yet (udev's access rule not applied) arrives when it can.
int StandingRead::usableCount() const { return deviceFd_ >= 0 ? table_->count(selector_) : 0; }

void StandingRead::deliverCountChange() {
    if (!readsCommandInterface()) return;
    const int count = usableCount();
    if (count == deliveredCount_) return;
    deliveredCount_ = count;
    diagnostics_.note("keyboards attached: " + std::to_string(count));
    call(HIDLANE_EVENT_DEVICE_COUNT, uint32_t(count), nullptr);
}

void StandingRead::reattach() {
    auto node = table_->first(selector_);
    if (deviceFd_ >= 0 && !(node && *node == attached_)) detach();
    if (deviceFd_ >= 0 || !node) return;
    int fd = openVerifiedNode(*system_, *node, O_RDONLY | O_NONBLOCK);
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
    diagnostics_.report("<", attached_.devNode.string(), {buffer_.data(), size_t(n)});
    // Every open file of a node gets every report of the node: keep this collection's own.
    auto report = incomingReport(attached_, selector_, {buffer_.data(), size_t(n)}, stripReportId_);
    if (!report || report->empty()) return;
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
    }
    call(HIDLANE_EVENT_DATA, uint32_t(report->size()), report->data());
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
