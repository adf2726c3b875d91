#include "FakeHidraw.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace quillmar::hidraw::testing {
namespace fs = std::filesystem;
namespace {

fs::path makeTemporaryRoot() {
    std::string pattern = (fs::temp_directory_path() / "hidraw-fake-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

std::vector<uint8_t> commandDescriptor() {
    return {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
            0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

std::vector<uint8_t> consumerDescriptor() {
    return {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x75, 0x10, 0x95, 0x01, 0x19, 0x00,
            0x2A, 0xFF, 0x02, 0x81, 0x00, 0xC0};
}

std::vector<uint8_t> statusDescriptor() {
    return {0x05, 0x08, 0x09, 0x89, 0xA1, 0x01, 0x85, 0x05, 0x75, 0x08, 0x95, 0x01, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

FakeHidraw::FakeHidraw() : FakeHidraw(makeTemporaryRoot()) {}

FakeHidraw::FakeHidraw(const fs::path& root) : HidrawSystem(root / "sys", root / "dev"), root_(root) {
    fs::create_directories(sysfsRoot() / "class" / "hidraw");
    fs::create_directories(devRoot());
    noticeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

FakeHidraw::~FakeHidraw() {
    for (auto& [name, node] : nodes_) {
        ::close(node.libraryEnd);
        ::close(node.keyboardEnd);
    }
    ::close(noticeFd_);
    std::error_code error;
    fs::remove_all(root_, error);
}

int FakeHidraw::plug(const FakeNodeDescription& node, OpenOutcome outcome) {
    int keyboardEnd = addNode(node, outcome);
    notice();
    return keyboardEnd;
}

int FakeHidraw::replaceSilently(const FakeNodeDescription& node) {
    std::error_code error;
    fs::remove_all(sysfsRoot() / "class" / "hidraw" / node.name, error);
    fs::remove_all(sysfsRoot() / "devices" / node.name, error);
    {
        std::lock_guard lock(mutex_);
        auto it = nodes_.find(node.name);
        if (it != nodes_.end()) {
            ::close(it->second.keyboardEnd);
            ::close(it->second.libraryEnd);
            nodes_.erase(it);
        }
    }
    return addNode(node, OpenOutcome::Opens);
}

int FakeHidraw::addNode(const FakeNodeDescription& node, OpenOutcome outcome) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) throw std::runtime_error("socketpair");
    unsigned instance;
    {
        std::lock_guard lock(mutex_);
        instance = ++instances_;
        nodes_[node.name] = Node{ends[0], ends[1], outcome, 0, instance, {node.vendorId, node.productId, node.phys}};
    }
    // As in sysfs: hidrawN/device links to the HID device, numbered anew at every plug-in.
    char hidDevice[32];
    std::snprintf(hidDevice, sizeof hidDevice, "0003:%04X:%04X.%04X", node.vendorId, node.productId, instance);
    const fs::path devices = sysfsRoot() / "devices" / node.name;
    fs::create_directories(devices / hidDevice);
    char uevent[160];
    std::snprintf(uevent, sizeof uevent, "DRIVER=hid-generic\nHID_ID=0003:%08X:%08X\nHID_NAME=Quillmar\nHID_PHYS=%s\n",
                  node.vendorId, node.productId, node.phys.c_str());
    writeFile(devices / hidDevice / "uevent", uevent);
    writeFile(devices / hidDevice / "report_descriptor", std::string(node.descriptor.begin(), node.descriptor.end()));
    const fs::path entry = sysfsRoot() / "class" / "hidraw" / node.name;
    fs::create_directories(entry);
    fs::create_directory_symlink(devices / hidDevice, entry / "device");
    return ends[1];
}

void FakeHidraw::holdUdev(const std::string& name) {
    std::lock_guard lock(mutex_);
    udevPending_.insert(name);
}

void FakeHidraw::finishUdev(const std::string& name) {
    {
        std::lock_guard lock(mutex_);
        udevPending_.erase(name);
    }
    notice();
}

bool FakeHidraw::udevFinished(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return !udevPending_.count(name);
}

// No notice: access rights change without udev telling anyone (the rescan tick finds out).
void FakeHidraw::setOpenOutcome(const std::string& name, OpenOutcome outcome) {
    std::lock_guard lock(mutex_);
    if (auto it = nodes_.find(name); it != nodes_.end()) it->second.outcome = outcome;
}

FakeHidraw::Keyboard FakeHidraw::plugKeyboard(int firstNumber, const std::string& port) {
    auto describeNode = [&](int offset, std::vector<uint8_t> descriptor) {
        return FakeNodeDescription{"hidraw" + std::to_string(firstNumber + offset),
                            "usb-0000:00:14.0-" + port + "/input" + std::to_string(offset), std::move(descriptor)};
    };
    Keyboard keyboard{};
    keyboard.consumer = plug(describeNode(0, consumerDescriptor()));
    keyboard.command = plug(describeNode(1, commandDescriptor()));
    keyboard.status = plug(describeNode(2, statusDescriptor()));
    return keyboard;
}

void FakeHidraw::unplug(const std::string& name) {
    std::error_code error;
    fs::remove_all(sysfsRoot() / "class" / "hidraw" / name, error);
    fs::remove_all(sysfsRoot() / "devices" / name, error);
    {
        std::lock_guard lock(mutex_);
        auto it = nodes_.find(name);
        if (it == nodes_.end()) return;
        // Closing the keyboard's end hangs up every reader of the node.
        ::close(it->second.keyboardEnd);
        ::close(it->second.libraryEnd);
        nodes_.erase(it);
    }
    notice();
}

int FakeHidraw::openCount(const std::string& name) {
    std::lock_guard lock(mutex_);
    auto it = nodes_.find(name);
    return it == nodes_.end() ? 0 : it->second.opens;
}

int FakeHidraw::openNode(const fs::path& path, int /*flags*/) {
    std::lock_guard lock(mutex_);
    auto it = path.parent_path() == devRoot() ? nodes_.find(path.filename().string()) : nodes_.end();
    if (it == nodes_.end() || it->second.outcome == OpenOutcome::Vanished) {
        errno = ENOENT;
        return -1;
    }
    if (it->second.outcome == OpenOutcome::Denied) {
        errno = EACCES;
        return -1;
    }
    ++it->second.opens;
    const int fd = ::fcntl(it->second.libraryEnd, F_DUPFD_CLOEXEC, 0);
    if (fd >= 0) openFds_[fd] = it->second.identity;
    return fd;
}

int FakeHidraw::closeNode(int fd) {
    {
        std::lock_guard lock(mutex_);
        openFds_.erase(fd);
    }
    return ::close(fd);
}

int FakeHidraw::sendFeatureReport(int /*fd*/, const uint8_t* bytes, size_t length) {
    std::lock_guard lock(mutex_);
    featureReports_.emplace_back(bytes, bytes + length);
    return int(length);
}

std::vector<std::vector<uint8_t>> FakeHidraw::featureReports() {
    std::lock_guard lock(mutex_);
    return featureReports_;
}

std::optional<NodeIdentity> FakeHidraw::identify(int fd) {
    std::lock_guard lock(mutex_);
    auto it = openFds_.find(fd);
    if (it == openFds_.end()) {
        errno = ENOTTY;
        return std::nullopt;
    }
    return it->second;
}

ssize_t FakeHidraw::readReport(int fd, uint8_t* buffer, size_t capacity) {
    return ::recv(fd, buffer, capacity, MSG_DONTWAIT);
}

ssize_t FakeHidraw::writeReport(int fd, const uint8_t* bytes, size_t length) {
    if (shortWrites_ && length > 1) return ::write(fd, bytes, length - 1);
    return ::write(fd, bytes, length);
}

void FakeHidraw::notice() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(noticeFd_, &one, sizeof one);
}

void FakeHidraw::drainChangeNotices() {
    uint64_t value;
    [[maybe_unused]] ssize_t n = ::read(noticeFd_, &value, sizeof value);
}

} // namespace quillmar::hidraw::testing
