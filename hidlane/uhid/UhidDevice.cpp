#include "UhidDevice.h"

#include <fcntl.h>
#include <linux/input.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quillmar::uhid {
namespace {
template <size_t N>
void copyText(uint8_t (&field)[N], const std::string& text) {
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}
} // namespace

UhidDevice::UhidDevice(const std::string& name, const UhidInterface& interface, uint16_t vendorId,
                       uint16_t productId)
    : interface_(interface) {
    fd_ = ::open("/dev/uhid", O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    uhid_event event{};
    event.type = UHID_CREATE2;
    auto& create = event.u.create2;
    copyText(create.name, name);
    copyText(create.phys, interface.phys);
    create.rd_size = uint16_t(std::min<size_t>(interface.descriptor.size(), sizeof create.rd_data));
    std::memcpy(create.rd_data, interface.descriptor.data(), create.rd_size);
    create.bus = BUS_USB;
    create.vendor = vendorId;
    create.product = productId;
    create.version = 0x0100;
    if (!writeEvent(event)) {
        error_ = errno;
        ::close(fd_);
        fd_ = -1;
    }
}

UhidDevice::~UhidDevice() {
    if (fd_ < 0) return;
    uhid_event event{};
    event.type = UHID_DESTROY;
    writeEvent(event);
    ::close(fd_);
}

bool UhidDevice::writeEvent(const uhid_event& event) {
    ssize_t written;
    do {
        written = ::write(fd_, &event, sizeof event);
    } while (written < 0 && errno == EINTR);
    return written == ssize_t(sizeof event);
}

bool UhidDevice::sendInput(std::span<const uint8_t> report) {
    if (fd_ < 0 || report.size() > UHID_DATA_MAX) return false;
    uhid_event event{};
    event.type = UHID_INPUT2;
    event.u.input2.size = uint16_t(report.size());
    std::copy(report.begin(), report.end(), event.u.input2.data);
    return writeEvent(event);
}

std::optional<uhid_event> UhidDevice::readEvent() {
    uhid_event event{};
    ssize_t n;
    do {
        n = ::read(fd_, &event, sizeof event);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return std::nullopt;
    return event;
}

void UhidDevice::replyGetReport(uint32_t id, uint16_t err) {
    uhid_event event{};
    event.type = UHID_GET_REPORT_REPLY;
    event.u.get_report_reply.id = id;
    event.u.get_report_reply.err = err;
    writeEvent(event);
}

void UhidDevice::replySetReport(uint32_t id, uint16_t err) {
    uhid_event event{};
    event.type = UHID_SET_REPORT_REPLY;
    event.u.set_report_reply.id = id;
    event.u.set_report_reply.err = err;
    writeEvent(event);
}

} // namespace quillmar::uhid
