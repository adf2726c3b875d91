#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quillmar::sim {

// The 64-byte frame of the command interface, the same in both directions.
inline constexpr std::size_t kReportBytes = 64;
inline constexpr std::size_t kReportDataOffset = 8;
inline constexpr std::size_t kMaxReportData = kReportBytes - kReportDataOffset;
inline constexpr std::uint8_t kCommandReportId = 4;

inline constexpr std::size_t kReportIdByte = 0;
inline constexpr std::size_t kChecksumLowByte = 1;
inline constexpr std::size_t kChecksumHighByte = 2;
inline constexpr std::size_t kCommandByte = 3;
inline constexpr std::size_t kLengthByte = 4;
inline constexpr std::size_t kAddressLowByte = 5;
inline constexpr std::size_t kAddressHighByte = 6;
inline constexpr std::size_t kStatusByte = 7;

inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusRefused = 0xFF;
inline constexpr std::uint8_t kStatusBadFrame = 0xFE;

using Report = std::array<std::uint8_t, kReportBytes>;

// 16-bit sum of bytes 3..63, each taken unsigned.
inline std::uint16_t reportChecksum(const Report& report) {
    unsigned sum = 0;
    for (std::size_t i = kCommandByte; i < kReportBytes; ++i) sum += report[i];
    return static_cast<std::uint16_t>(sum);
}

inline bool hasValidChecksum(const Report& report) {
    const unsigned stored = report[kChecksumLowByte] | (report[kChecksumHighByte] << 8);
    return stored == reportChecksum(report);
}

// Puts the checksum in place; call after every other byte is final.
inline void sealReport(Report& report) {
    const std::uint16_t sum = reportChecksum(report);
    report[kChecksumLowByte] = static_cast<std::uint8_t>(sum);
    report[kChecksumHighByte] = static_cast<std::uint8_t>(sum >> 8);
}

inline std::uint16_t reportAddress(const Report& report) {
    return static_cast<std::uint16_t>(report[kAddressLowByte] | (report[kAddressHighByte] << 8));
}

}  // namespace quillmar::sim
