#include "device/DeviceReport.h"

#include <numeric>

namespace quillmar::device {

DeviceReport DeviceReport::request(std::uint8_t command, std::uint8_t length,
                                   std::uint16_t address) {
    DeviceReport report;
    report.bytes[3] = command;
    report.setLength(length);
    report.setAddress(address);
    return report;
}

std::uint16_t DeviceReport::address() const {
    return static_cast<std::uint16_t>(bytes[5] | bytes[6] << 8);
}

std::uint16_t DeviceReport::storedChecksum() const {
    return static_cast<std::uint16_t>(bytes[1] | bytes[2] << 8);
}

void DeviceReport::setAddress(std::uint16_t address) {
    bytes[5] = static_cast<std::uint8_t>(address);
    bytes[6] = static_cast<std::uint8_t>(address >> 8);
}

void DeviceReport::seal() {
    const std::uint16_t sum = reportChecksum(bytes);
    bytes[1] = static_cast<std::uint8_t>(sum);
    bytes[2] = static_cast<std::uint8_t>(sum >> 8);
}

std::uint16_t reportChecksum(std::span<const std::uint8_t, DeviceReport::kSize> bytes) {
    return static_cast<std::uint16_t>(std::accumulate(bytes.begin() + 3, bytes.end(), 0u));
}

}  // namespace quillmar::device
