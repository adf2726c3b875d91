#include "HidrawSystem.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <fstream>
#include <vector>

namespace quillmar::hidraw {

HidrawSystem::HidrawSystem(std::filesystem::path sysfsRoot, std::filesystem::path devRoot)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)) {}

int HidrawSystem::openNode(const std::filesystem::path& node, int flags) {
    return ::open(node.c_str(), flags | O_CLOEXEC);
}

int HidrawSystem::closeNode(int fd) { return ::close(fd); }

ssize_t HidrawSystem::readReport(int fd, uint8_t* buffer, size_t capacity) {
    return ::read(fd, buffer, capacity);
}

ssize_t HidrawSystem::writeReport(int fd, const uint8_t* bytes, size_t length) {
    return ::write(fd, bytes, length);
}

int HidrawSystem::sendFeatureReport(int fd, const uint8_t* bytes, size_t length) {
    // The ioctl may write into the buffer, so it gets its own copy.
    std::vector<uint8_t> copy(bytes, bytes + length);
    return ::ioctl(fd, HIDIOCSFEATURE(copy.size()), copy.data());
}

int HidrawSystem::pollFds(pollfd* fds, nfds_t count, int timeoutMs) {
    return ::poll(fds, count, timeoutMs);
}

std::optional<NodeIdentity> HidrawSystem::identify(int fd) {
    hidraw_devinfo info{};
    if (::ioctl(fd, HIDIOCGRAWINFO, &info) < 0) return std::nullopt;
    char phys[256] = {};
    const int length = ::ioctl(fd, HIDIOCGRAWPHYS(sizeof phys - 1), phys);
    if (length < 0) return std::nullopt;
    return NodeIdentity{uint16_t(info.vendor), uint16_t(info.product), phys};
}

namespace {

class LinuxHidrawSystem final : public HidrawSystem {
public:
    LinuxHidrawSystem() : HidrawSystem("/sys", "/dev") {
        udev_ = udev_new();
        if (!udev_) return;
        // The "udev" source reports a node after its rules ran, so its access rights are set.
        monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
        if (!monitor_) return;
        if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
            udev_monitor_enable_receiving(monitor_) < 0) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
    }

    ~LinuxHidrawSystem() override {
        if (monitor_) udev_monitor_unref(monitor_);
        if (udev_) udev_unref(udev_);
    }

    // udev marks a device it has finished with by its database entry "c<major>:<minor>".
    bool udevFinished(const std::string& nodeName) const override {
        std::error_code error;
        if (!std::filesystem::exists("/run/udev/control", error)) return true;
        std::string numbers;
        std::ifstream(sysfsRoot() / "class" / "hidraw" / nodeName / "dev") >> numbers;
        return !numbers.empty() && std::filesystem::exists("/run/udev/data/c" + numbers, error);
    }

    int changeNoticeFd() override { return monitor_ ? udev_monitor_get_fd(monitor_) : -1; }

    void drainChangeNotices() override {
        if (!monitor_) return;
        while (udev_device* device = udev_monitor_receive_device(monitor_)) udev_device_unref(device);
    }

private:
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

} // namespace

std::shared_ptr<HidrawSystem> makeLinuxHidrawSystem() { return std::make_shared<LinuxHidrawSystem>(); }

} // namespace quillmar::hidraw
