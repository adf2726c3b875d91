// One HID device served to the kernel through /dev/uhid: created with a report descriptor,
// fed input reports, read for the host's output reports, removed on destruction.
#pragma once

#include "UhidLayout.h"

#include <linux/uhid.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quillmar::uhid {

class UhidDevice {
public:
    // Opens /dev/uhid and creates the device; fd() < 0 and error() say why it failed.
    UhidDevice(const std::string& name, const UhidInterface& interface, uint16_t vendorId, uint16_t productId);
    ~UhidDevice();
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    int fd() const { return fd_; }
    int error() const { return error_; }
    const UhidInterface& interface() const { return interface_; }

    bool sendInput(std::span<const uint8_t> report);
    // The next event from the kernel; nothing when none could be read.
    std::optional<uhid_event> readEvent();
    // Answers a GET_REPORT or SET_REPORT request with an error code (0 = done).
    void replyGetReport(uint32_t id, uint16_t err);
    void replySetReport(uint32_t id, uint16_t err);

private:
    bool writeEvent(const uhid_event& event);

    UhidInterface interface_;
    int fd_ = -1;
    int error_ = 0;
};

} // namespace quillmar::uhid
