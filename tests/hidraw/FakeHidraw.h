// A stand-in for sysfs and /dev/hidrawN: a temporary folder holds class/hidraw/hidrawN with
// each node's uevent and report descriptor, and every node is one end of a SOCK_SEQPACKET
// socket pair (which keeps report boundaries); the test holds the other end as the keyboard.
#pragma once

#include "HidrawSystem.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
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

    int openNode(const std::filesystem::path& node, int flags) override;
    ssize_t writeReport(int fd, const uint8_t* bytes, size_t length) override;
    int changeNoticeFd() override { return noticeFd_; }
    void drainChangeNotices() override;

private:
    struct Node {
        int libraryEnd = -1;
        int keyboardEnd = -1;
        OpenOutcome outcome = OpenOutcome::Opens;
        int opens = 0;
        unsigned instance = 0;
    };
    explicit FakeHidraw(const std::filesystem::path& root);
    void notice();

    std::filesystem::path root_;
    std::mutex mutex_;
    std::map<std::string, Node> nodes_;
    unsigned instances_ = 0;
    int noticeFd_ = -1;
    std::atomic<bool> shortWrites_{false};
};

} // namespace quillmar::hidraw::testing
