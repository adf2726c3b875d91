#include "UhidKeyboard.h"

#include "hidlane/sim/SimReport.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <thread>

namespace quillmar::uhid {
namespace fs = std::filesystem;
namespace {

constexpr const char* kDeviceName = "Quillmar Gaming Keyboard";
constexpr const char* kPhysPrefix = "usb-quillmar-uhid-1";
constexpr auto kNodeWait = std::chrono::seconds(10);

// The firmware calls back through a plain C function; there is one keyboard per process.
std::atomic<UhidKeyboard*> gKeyboard{nullptr};

std::string physOf(const fs::path& hidrawEntry) {
    std::ifstream uevent(hidrawEntry / "device" / "uevent");
    std::string line;
    while (std::getline(uevent, line))
        if (line.rfind("HID_PHYS=", 0) == 0) return line.substr(9);
    return {};
}

} // namespace

UhidKeyboard::UhidKeyboard(bool sharedInterface, std::chrono::milliseconds latency)
    : sharedInterface_(sharedInterface), latency_(latency) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    // Blocked before any thread starts, so that every thread leaves them to the signalfd.
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signalFd_ = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
    gKeyboard = this;
}

UhidKeyboard::~UhidKeyboard() {
    firmware_.stop();
    devices_.clear();
    gKeyboard = nullptr;
    if (wakeFd_ >= 0) ::close(wakeFd_);
    if (signalFd_ >= 0) ::close(signalFd_);
}

int UhidKeyboard::onFirmwareEvent(const HidlaneEvent* event) {
    UhidKeyboard* keyboard = gKeyboard.load();
    if (!keyboard || !event || !event->request) return 1;
    Pending pending;
    pending.tag = event->request->tag;
    if (event->kind == HIDLANE_EVENT_DEVICE_COUNT) {
        pending.isCount = true;
        pending.count = int(event->request->lengthOrCount);
    } else if (event->request->data) {
        pending.bytes.assign(event->request->data, event->request->data + event->request->lengthOrCount);
    }
    keyboard->post(std::move(pending));
    return 1;
}

void UhidKeyboard::post(Pending pending) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(pending));
    }
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

int UhidKeyboard::run(std::ostream& out) {
    if (wakeFd_ < 0 || signalFd_ < 0) {
        std::cerr << "quillmar-uhid: " << std::strerror(errno) << "\n";
        return 1;
    }
    firmware_.start();
    if (latency_.count() > 0) firmware_.setLatency(latency_);
    firmware_.openRead(sim::SimInterface::Command, onFirmwareEvent, HIDLANE_TAG_CTRL);
    firmware_.openRead(sim::SimInterface::Consumer, onFirmwareEvent, HIDLANE_TAG_CONS);
    if (firmware_.plugged() && !plugIn()) return 1;
    out << "ready" << std::endl;

    for (;;) {
        std::vector<pollfd> fds = {{signalFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        for (const auto& device : devices_) fds.push_back({device->fd(), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            std::cerr << "quillmar-uhid: poll: " << std::strerror(errno) << "\n";
            return 1;
        }
        if (fds[0].revents) break;
        // Devices first: a plug or unplug taken below may replace them.
        for (size_t i = 2; i < fds.size(); ++i)
            if (fds[i].revents & POLLIN) serve(*devices_[i - 2]);
        if (fds[1].revents) takePending();
    }
    devices_.clear();
    firmware_.stop();
    return 0;
}

bool UhidKeyboard::plugIn() {
    devices_.clear();
    for (const auto& interface : keyboardInterfaces(kPhysPrefix, sharedInterface_)) {
        auto device = std::make_unique<UhidDevice>(kDeviceName, interface, HIDLANE_VENDOR_ID, HIDLANE_PRODUCT_ID);
        if (device->fd() < 0) {
            std::cerr << "quillmar-uhid: cannot create a device through /dev/uhid: " << std::strerror(device->error())
                      << (device->error() == EACCES ? " (it needs root or write access to /dev/uhid)" : "") << "\n";
            devices_.clear();
            return false;
        }
        devices_.push_back(std::move(device));
    }
    if (waitForNodes()) return true;
    std::cerr << "quillmar-uhid: the kernel made no hidraw node for the keyboard (is hid-generic loaded?)\n";
    devices_.clear();
    return false;
}

// The kernel creates the nodes from a worker after each create request; they are there once
// every interface's physical path shows up under /sys/class/hidraw with its /dev node.
bool UhidKeyboard::waitForNodes() const {
    const auto deadline = std::chrono::steady_clock::now() + kNodeWait;
    while (std::chrono::steady_clock::now() < deadline) {
        std::set<std::string> missing;
        for (const auto& device : devices_) missing.insert(device->interface().phys);
        std::error_code error;
        for (fs::directory_iterator it("/sys/class/hidraw", error), end; !error && it != end; it.increment(error))
            if (fs::exists("/dev" / it->path().filename(), error)) missing.erase(physOf(it->path()));
        if (missing.empty()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void UhidKeyboard::takePending() {
    uint64_t value;
    [[maybe_unused]] ssize_t n = ::read(wakeFd_, &value, sizeof value);
    std::deque<Pending> taken;
    {
        std::lock_guard lock(mutex_);
        taken.swap(pending_);
    }
    for (const auto& pending : taken) {
        if (pending.isCount) {
            if (pending.count > 0) plugIn();
            else devices_.clear();
            continue;
        }
        if (pending.tag == HIDLANE_TAG_CTRL) {
            if (UhidDevice* device = deviceFor(true)) device->sendInput(pending.bytes);
        } else if (UhidDevice* device = deviceFor(false)) {
            // A notice goes out as the consumer collection's report: its id, then the code.
            std::vector<uint8_t> report = {kConsumerReportId};
            report.insert(report.end(), pending.bytes.begin(), pending.bytes.end());
            device->sendInput(report);
        }
    }
}

UhidDevice* UhidKeyboard::deviceFor(bool command) const {
    for (const auto& device : devices_)
        if (command ? device->interface().command : device->interface().consumer) return device.get();
    return nullptr;
}

void UhidKeyboard::serve(UhidDevice& device) {
    auto event = device.readEvent();
    if (!event) return;
    switch (event->type) {
    case UHID_OUTPUT: {
        const auto& output = event->u.output;
        if (output.rtype == UHID_OUTPUT_REPORT)
            takeOutputReport(device, {output.data, std::min<size_t>(output.size, UHID_DATA_MAX)});
        break;
    }
    case UHID_GET_REPORT: device.replyGetReport(event->u.get_report.id, EIO); break;
    case UHID_SET_REPORT: {
        const auto& set = event->u.set_report;
        const bool taken = firmware_.receiveFeatureReport(
            device.interface().command ? sim::SimInterface::Command : sim::SimInterface::Status,
            {set.data, std::min<size_t>(set.size, UHID_DATA_MAX)});
        device.replySetReport(set.id, taken ? 0 : EIO);
        break;
    }
    default: break; // start, stop, open and close need nothing from a keyboard
    }
}

void UhidKeyboard::takeOutputReport(const UhidDevice& device, std::span<const uint8_t> report) {
    if (report.empty()) return;
    if (device.interface().command && report[0] == kCommandReportId) {
        firmware_.receiveOutputReport(sim::SimInterface::Command, report.first(std::min(report.size(), sim::kReportBytes)));
    } else if (device.interface().status && report[0] == kStatusReportId && report.size() >= 2) {
        // A status word is not a standing request here: nothing is left behind for it.
        if (uint32_t unit = firmware_.receiveStatusWord(nullptr, report.first(2))) firmware_.closeRequest(unit);
    }
}

} // namespace quillmar::uhid
