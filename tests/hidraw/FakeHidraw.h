// A stand-in for sysfs and /dev/hidrawN: a temporary folder holds class/hidraw/hidrawN with
// each node's uevent and report descriptor, and every node is one end of a SOCK_SEQPACKET
// socket pair (which keeps report boundaries); the test holds the other end as the keyboard.
#pragma once

#include "HidrawSystem.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <mutex>
#include <string>
#include <vector>

namespace quillmar::hidraw::testing {

// Report descriptors of the keyboard's three interfaces.
std::vector<uint8_t> commandDescriptor();  // FF1C/0092, report id 4, 63 bytes each way
std::vector<uint8_t> consumerDescriptor(); // 000C/0001, report id 3
std::vector<uint8_t> statusDescriptor();   // 0008/0089, report id 5, one output byte

enum class OpenOutcome { Opens, Denied, Vanished };

struct FakeNodeDescription {
    std::string name; // "hidraw3"
    std::string phys; // "usb-0000:00:14.0-1/input0"
    std::vector<uint8_t> descriptor;
    uint16_t vendorId = 0x0C45;
    uint16_t productId = 0x7518;
};

class FakeHidraw : public HidrawSystem {
public:
    FakeHidraw();
    ~FakeHidraw() override;

    // Makes the node appear; returns the keyboard's end of its socket pair.
    int plug(const FakeNodeDescription& node, OpenOutcome outcome = OpenOutcome::Opens);
    // The keyboard's three interfaces on one USB port; returns the keyboard ends by role.
    struct Keyboard {
        int command, consumer, status;
    };
    Keyboard plugKeyboard(int firstNumber, const std::string& port);
    void unplug(const std::string& name);
    // Later writes send all but the last byte.
    void shortenWrites(bool on) { shortWrites_ = on; }
    int openCount(const std::string& name);
    // udev has not run its rules for the node yet (until finishUdev).
    void holdUdev(const std::string& name);
    void finishUdev(const std::string& name);
    // Opens of the node fail with EACCES (as before udev's uaccess) or succeed from now on.
    void setOpenOutcome(const std::string& name, OpenOutcome outcome);
    // Puts another device behind the node's path without any notice, as when a number freed
    // by an unplug is taken by the next device before the library looked again.
    int replaceSilently(const FakeNodeDescription& node);

    int openNode(const std::filesystem::path& node, int flags) override;
    int closeNode(int fd) override;
    // Opens share one socket, so a read must not wait as a non-blocking node read would not:
    // with two reads on one node, the second one woken for a report the first took would hang.
    ssize_t readReport(int fd, uint8_t* buffer, size_t capacity) override;
    ssize_t writeReport(int fd, const uint8_t* bytes, size_t length) override;
    int sendFeatureReport(int fd, const uint8_t* bytes, size_t length) override;
    std::vector<std::vector<uint8_t>> featureReports();
    std::optional<NodeIdentity> identify(int fd) override;
    bool udevFinished(const std::string& name) const override;
    int changeNoticeFd() override { return noticeFd_; }
    void drainChangeNotices() override;

private:
    struct Node {
        int libraryEnd = -1;
        int keyboardEnd = -1;
        OpenOutcome outcome = OpenOutcome::Opens;
        int opens = 0;
        unsigned instance = 0;
        NodeIdentity identity;
    };
    int addNode(const FakeNodeDescription& node, OpenOutcome outcome);
    explicit FakeHidraw(const std::filesystem::path& root);
    void notice();

    std::filesystem::path root_;
    mutable std::mutex mutex_;
    std::map<std::string, Node> nodes_;
    std::map<int, NodeIdentity> openFds_;
    std::set<std::string> udevPending_;
    std::vector<std::vector<uint8_t>> featureReports_;
    unsigned instances_ = 0;
    int noticeFd_ = -1;
    std::atomic<bool> shortWrites_{false};
};

} // namespace quillmar::hidraw::testing
