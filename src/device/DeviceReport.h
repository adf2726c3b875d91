#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmar::device {

// The 64-byte frame of every command and answer: report id 4, checksum,
// command, data length, 16-bit address, status, then up to 56 data bytes.
struct DeviceReport {
    static constexpr std::size_t kSize = 64;
    static constexpr std::size_t kHeaderSize = 8;
    static constexpr std::size_t kMaxData = kSize - kHeaderSize;
    static constexpr std::uint8_t kReportId = 4;
    static constexpr std::uint8_t kStatusFailed = 0xFF;
    static constexpr std::uint8_t kStatusRejected = 0xFE;

    std::array<std::uint8_t, kSize> bytes{kReportId};

    static DeviceReport request(std::uint8_t command, std::uint8_t length, std::uint16_t address);

    std::uint8_t command() const { return bytes[3]; }
    std::uint8_t length() const { return bytes[4]; }
    std::uint16_t address() const;
    std::uint8_t status() const { return bytes[7]; }
    std::uint16_t storedChecksum() const;

    void setLength(std::uint8_t length) { bytes[4] = length; }
    void setAddress(std::uint16_t address);
    std::span<std::uint8_t, kMaxData> data() { return std::span(bytes).subspan<kHeaderSize>(); }
    std::span<const std::uint8_t, kMaxData> data() const {
        return std::span(bytes).subspan<kHeaderSize>();
    }

    // Stores the checksum of bytes 3 to 63; call it after every other byte is in place.
    void seal();
};

// 16-bit sum of bytes 3 to 63, each unsigned.
std::uint16_t reportChecksum(std::span<const std::uint8_t, DeviceReport::kSize> bytes);

}  // namespace quillmar::device
