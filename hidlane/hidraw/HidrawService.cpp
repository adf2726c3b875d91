#include "HidrawService.h"

#include "NodeAccess.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <set>
#include <system_error>
#include <vector>

namespace quillmar::hidraw {
namespace {
constexpr uint32_t kMaxReportLength = 16384;
} // namespace

// What Init starts and End stops.
struct HidrawService::Running {
    std::shared_ptr<HidrawSystem> system;
    std::shared_ptr<DeviceTable> table;
    int stopFd = -1;
    std::thread watcher;

    ~Running() {
        if (stopFd >= 0) ::close(stopFd);
    }
};

// A standing request: a read, a kept status word, or a status word being handed back.
struct HidrawService::Request {
    uint32_t unitId = 0;
    HidlaneCallback callback = nullptr;
    std::shared_ptr<StandingRead> read;

    HidSelector selector{};
    std::vector<uint8_t> statusWord; // kept to send again when the keyboard comes back
    std::mutex sentMutex;
    HidrawNode sentTo;

    std::thread oneShot;

    void stop() {
        if (read) read->stop();
        if (!oneShot.joinable()) return;
        if (oneShot.get_id() == std::this_thread::get_id()) oneShot.detach();
        else oneShot.join();
    }
};

HidrawService::HidrawService(SystemFactory makeSystem, int rescanIntervalMs)
    : makeSystem_(std::move(makeSystem)), rescanIntervalMs_(rescanIntervalMs) {}

HidrawService::~HidrawService() { end(); }

int HidrawService::init(int flags) {
    if (flags != 0) return 0;
    std::lock_guard life(lifecycleMutex_);
    {
        std::lock_guard lock(mutex_);
        if (running_) return 1;
    }
    auto running = std::make_unique<Running>();
    running->system = makeSystem_();
    if (!running->system) return 0;
    running->table = std::make_shared<DeviceTable>(*running->system);
    running->stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (running->stopFd < 0) return 0;
    running->table->rescan();
    Running* watched = running.get();
    try {
        watched->watcher = std::thread([this, watched] { watch(*watched); });
    } catch (const std::system_error& error) {
        diagnostics_.note(std::string("cannot start the hotplug watcher: ") + error.what());
        return 0;
    }
    std::lock_guard lock(mutex_);
    running_ = std::move(running);
    return 1;
}

int HidrawService::end() {
    std::lock_guard life(lifecycleMutex_);
    std::unique_ptr<Running> running;
    std::map<uint32_t, std::shared_ptr<Request>> requests;
    {
        std::lock_guard lock(mutex_);
        running.swap(running_);
        requests.swap(requests_);
    }
    if (!running) return 1;
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(running->stopFd, &one, sizeof one);
    running->watcher.join();
    for (auto& [id, request] : requests) request->stop();
    return 1;
}

bool HidrawService::admitted(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                             const uint8_t* data, uint32_t length, uint32_t check) const {
    if (!selector || (length > 0 && !data) || length > kMaxReportLength) return false;
    return check == hidlane_check_value(selector, callback, tag, data, length);
}

std::shared_ptr<DeviceTable> HidrawService::table() const {
    std::lock_guard lock(mutex_);
    return running_ ? running_->table : nullptr;
}

std::shared_ptr<HidrawSystem> HidrawService::system() const {
    std::lock_guard lock(mutex_);
    return running_ ? running_->system : nullptr;
}

int HidrawService::getDeviceCount(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                                  uint32_t check, uint32_t* /*unitId*/) {
    if (!admitted(selector, callback, tag, nullptr, 0, check)) return 0;
    auto devices = table();
    auto sys = system();
    if (!devices || !sys) return 0;
    // As the command read counts them: keyboards count once their interface can be opened.
    auto node = devices->first(*selector);
    if (!node) return 0;
    const int fd = openVerifiedNode(*sys, *node, O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        diagnostics_.openFailed(*node, errno);
        return 0;
    }
    sys->closeNode(fd);
    return devices->count(*selector);
}

bool HidrawService::writeReport(const HidrawNode& node, const HidSelector& selector, const uint8_t* data,
                                uint32_t length, bool feature) {
    auto sys = system();
    if (!sys || length == 0) return false;
    const auto report =
        outgoingReport(node, selector, feature ? ReportKind::Feature : ReportKind::Output, {data, length});
    if (!report) {
        diagnostics_.note(node.devNode.string() + " declares no such report; " + std::to_string(length) +
                          " bytes not sent");
        return false;
    }
    int fd = openVerifiedNode(*sys, node, feature ? O_RDWR : O_WRONLY);
    if (fd < 0) {
        diagnostics_.openFailed(node, errno);
        return false;
    }
    ssize_t written;
    do {
        written = feature ? sys->sendFeatureReport(fd, report->data(), report->size())
                          : sys->writeReport(fd, report->data(), report->size());
    } while (written < 0 && errno == EINTR);
    sys->closeNode(fd);
    diagnostics_.report(feature ? "> feature" : ">", node.devNode.string(), *report);
    // A report that went out in part did not go out.
    if (written != ssize_t(report->size())) {
        diagnostics_.note("write to " + node.devNode.string() + " sent " + std::to_string(written) + " of " +
                          std::to_string(report->size()) + " bytes");
        return false;
    }
    return true;
}

int HidrawService::write(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                         uint32_t length, uint32_t check, uint32_t* /*unitId*/) {
    if (!admitted(selector, callback, tag, data, length, check)) return 0;
    auto devices = table();
    if (!devices) return 0;
    std::set<std::string> written;
    for (const auto& node : devices->allMatching(*selector))
        if (!written.count(node.keyboardKey) && writeReport(node, *selector, data, length, false))
            written.insert(node.keyboardKey);
    return int(written.size());
}

int HidrawService::writeOne(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                            const uint8_t* data, uint32_t length, uint32_t check, uint32_t* /*unitId*/) {
    return writeToFirst(selector, callback, tag, data, length, check, false);
}

int HidrawService::setFeature(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                              const uint8_t* data, uint32_t length, uint32_t check, uint32_t* /*unitId*/) {
    return writeToFirst(selector, callback, tag, data, length, check, true);
}

int HidrawService::writeToFirst(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                                const uint8_t* data, uint32_t length, uint32_t check, bool feature) {
    if (!admitted(selector, callback, tag, data, length, check)) return 0;
    auto node = firstNode(*selector);
    return node && writeReport(*node, *selector, data, length, feature) ? 1 : 0;
}

std::optional<HidrawNode> HidrawService::firstNode(const HidSelector& selector) const {
    auto devices = table();
    return devices ? devices->first(selector) : std::nullopt;
}

bool HidrawService::sendStatusWord(Request& request) {
    auto node = firstNode(request.selector);
    if (!node) return false;
    std::lock_guard lock(request.sentMutex);
    if (!writeReport(*node, request.selector, request.statusWord.data(), uint32_t(request.statusWord.size()), false))
        return false;
    request.sentTo = *node;
    return true;
}

int HidrawService::statusWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                               const uint8_t* data, uint32_t length, uint32_t check, uint32_t* unitId) {
    if (!admitted(selector, callback, tag, data, length, check) || length == 0 || !table()) return 0;
    auto request = std::make_shared<Request>();
    request->callback = callback;
    request->selector = *selector;
    request->statusWord.assign(data, data + length);
    const bool sent = sendStatusWord(*request);
    {
        std::lock_guard lock(mutex_);
        lastStatusWord_ = request->statusWord;
    }
    uint32_t id = addRequest(request);
    if (unitId) *unitId = id;
    return sent ? 1 : 0;
}

int HidrawService::statusGet(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                             uint32_t* unitId) {
    if (!admitted(selector, callback, tag, nullptr, 0, check) || !callback || !table()) return 0;
    std::vector<uint8_t> word;
    {
        std::lock_guard lock(mutex_);
        word = lastStatusWord_;
    }
    if (word.empty()) return 0;
    auto request = std::make_shared<Request>();
    request->callback = callback;
    // The word is handed back on a thread of its own: never from inside this call.
    try {
        request->oneShot = std::thread([callback, tag, word] {
            HidlaneRequestRecord record{tag, uint32_t(word.size()), word.data()};
            HidlaneEvent event{HIDLANE_EVENT_DATA, &record};
            callback(&event);
        });
    } catch (const std::system_error& error) {
        diagnostics_.note(std::string("cannot start a thread: ") + error.what());
        return 0;
    }
    uint32_t id = addRequest(request);
    if (unitId) *unitId = id;
    return 1;
}

int HidrawService::asyncRead(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                             uint32_t* unitId) {
    if (!admitted(selector, callback, tag, nullptr, 0, check) || !callback) return 0;
    auto sys = system();
    auto devices = table();
    if (!sys || !devices) return 0;
    auto request = std::make_shared<Request>();
    request->callback = callback;
    uint32_t id;
    {
        std::lock_guard lock(mutex_);
        id = nextUnitId();
    }
    request->unitId = id;
    request->read = std::make_shared<StandingRead>(sys, devices, diagnostics_, id, *selector, callback, tag);
    if (!request->read->start()) return 0;
    {
        std::lock_guard lock(mutex_);
        requests_[id] = request;
    }
    if (unitId) *unitId = id;
    return 1;
}

uint32_t HidrawService::nextUnitId() {
    if (++lastUnitId_ == 0) ++lastUnitId_;
    return lastUnitId_;
}

uint32_t HidrawService::addRequest(std::shared_ptr<Request> request) {
    std::lock_guard lock(mutex_);
    request->unitId = nextUnitId();
    requests_[request->unitId] = request;
    return request->unitId;
}

int HidrawService::deleteUnit(uint32_t unitId) {
    std::shared_ptr<Request> request;
    {
        std::lock_guard lock(mutex_);
        auto it = requests_.find(unitId);
        if (it == requests_.end()) return 0;
        request = it->second;
        requests_.erase(it);
    }
    request->stop();
    return 1;
}

int HidrawService::deleteByCallback(HidlaneCallback callback) {
    std::vector<std::shared_ptr<Request>> ended;
    {
        std::lock_guard lock(mutex_);
        for (auto it = requests_.begin(); it != requests_.end();) {
            if (it->second->callback == callback) {
                ended.push_back(it->second);
                it = requests_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& request : ended) request->stop();
    return int(ended.size());
}

std::vector<std::shared_ptr<HidrawService::Request>> HidrawService::requests() const {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<Request>> all;
    for (const auto& [id, request] : requests_) all.push_back(request);
    return all;
}

void HidrawService::watch(Running& running) {
    try {
        for (;;) {
            pollfd fds[2] = {{running.stopFd, POLLIN, 0}, {running.system->changeNoticeFd(), POLLIN, 0}};
            const nfds_t count = fds[1].fd >= 0 ? 2 : 1;
            if (running.system->pollFds(fds, count, rescanIntervalMs_) < 0 && errno != EINTR) {
                diagnostics_.note(std::string("hotplug watcher stopped: poll failed: ") + std::strerror(errno));
                return;
            }
            if (fds[0].revents) return;
            if (count == 2 && fds[1].revents) running.system->drainChangeNotices();
            refresh(running);
        }
    } catch (const std::exception& error) {
        diagnostics_.note(std::string("hotplug watcher stopped: ") + error.what());
    }
}

// Runs at every udev notice and rescan tick, changed nodes or not: an open or a status word
// that failed (access not granted yet, node busy) is tried again without a replug.
void HidrawService::refresh(Running& running) {
    running.table->rescan();
    const auto all = requests();
    for (const auto& request : all)
        if (request->read) request->read->devicesChanged();
    for (const auto& request : all)
        if (!request->statusWord.empty() && statusWordTargetChanged(*request)) sendStatusWord(*request);
}

// A kept status word goes out again to a keyboard that has not had it (one plugged in anew).
bool HidrawService::statusWordTargetChanged(Request& request) {
    auto node = firstNode(request.selector);
    std::lock_guard lock(request.sentMutex);
    return node && !(*node == request.sentTo);
}

} // namespace quillmar::hidraw
