// The operating-system calls the library makes, behind one class so that tests can stand a
// temporary folder in for sysfs and socket pairs in for /dev/hidrawN. The base class makes the
// real calls; LinuxHidrawSystem adds udev's hotplug notices.
#pragma once

#include <poll.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace quillmar::hidraw {

// What an open node says about the device behind it (HIDIOCGRAWINFO, HIDIOCGRAWPHYS).
struct NodeIdentity {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string phys;
};

class HidrawSystem {
public:
    HidrawSystem(std::filesystem::path sysfsRoot, std::filesystem::path devRoot);
    virtual ~HidrawSystem() = default;
    HidrawSystem(const HidrawSystem&) = delete;
    HidrawSystem& operator=(const HidrawSystem&) = delete;

    // The folder holding class/hidraw/hidrawN, normally /sys.
    const std::filesystem::path& sysfsRoot() const { return sysfsRoot_; }
    // The folder holding the hidrawN device nodes, normally /dev.
    const std::filesystem::path& devRoot() const { return devRoot_; }

    // Each returns what the system call returns, with errno set on failure.
    virtual int openNode(const std::filesystem::path& node, int flags);
    virtual int closeNode(int fd);
    virtual ssize_t readReport(int fd, uint8_t* buffer, size_t capacity);
    virtual ssize_t writeReport(int fd, const uint8_t* bytes, size_t length);
    virtual int sendFeatureReport(int fd, const uint8_t* bytes, size_t length);
    virtual int pollFds(pollfd* fds, nfds_t count, int timeoutMs);
    // Nothing when the node does not answer the ioctls (errno set).
    virtual std::optional<NodeIdentity> identify(int fd);

    // Whether udev has run its rules for the node (so its access rights are final); true
    // when udev does not run at all.
    virtual bool udevFinished(const std::string& /*nodeName*/) const { return true; }

    // A descriptor that becomes readable when hidraw devices may have come or gone (-1 when
    // there is none: the library then only rescans on its timer), and the call that takes
    // the pending notices off it.
    virtual int changeNoticeFd() { return -1; }
    virtual void drainChangeNotices() {}

private:
    std::filesystem::path sysfsRoot_;
    std::filesystem::path devRoot_;
};

// The real system: /sys, /dev and a udev monitor on the hidraw subsystem (when udev runs).
std::shared_ptr<HidrawSystem> makeLinuxHidrawSystem();

} // namespace quillmar::hidraw
