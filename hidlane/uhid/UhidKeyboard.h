// The simulated keyboard's firmware served to the kernel: its interfaces become uhid devices,
// the host's output reports go to the firmware, its answers and notices come back as input
// reports, and a plug or unplug on the control FIFO creates or removes the devices.
#pragma once

#include "UhidDevice.h"
#include "hidlane/sim/SimKeyboard.h"

#include <chrono>
#include <deque>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <vector>

namespace quillmar::uhid {

class UhidKeyboard {
public:
    // latency: how much later than the firmware's own pace every answer goes out (0 = none).
    UhidKeyboard(bool sharedInterface, std::chrono::milliseconds latency);
    ~UhidKeyboard();
    UhidKeyboard(const UhidKeyboard&) = delete;
    UhidKeyboard& operator=(const UhidKeyboard&) = delete;

    // Serves until SIGTERM or SIGINT; says "ready" on out once the hidraw nodes exist.
    // Returns the exit code.
    int run(std::ostream& out);

private:
    // What the firmware's threads hand to the loop, which alone touches the devices.
    struct Pending {
        bool isCount = false;
        int count = 0;
        uint32_t tag = 0;
        std::vector<uint8_t> bytes;
    };

    static int onFirmwareEvent(const HidlaneEvent* event);
    void post(Pending pending);
    void takePending();
    bool plugIn();
    bool waitForNodes() const;
    void serve(UhidDevice& device);
    void takeOutputReport(const UhidDevice& device, std::span<const uint8_t> report);
    UhidDevice* deviceFor(bool command) const;

    const bool sharedInterface_;
    const std::chrono::milliseconds latency_;
    sim::SimKeyboard firmware_;
    std::vector<std::unique_ptr<UhidDevice>> devices_;
    int wakeFd_ = -1;
    int signalFd_ = -1;

    std::mutex mutex_;
    std::deque<Pending> pending_;
};

} // namespace quillmar::uhid
