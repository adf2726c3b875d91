#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmar::config {

// Fields of the keyboard's images and of the profile file are little-endian.
// The callers check that the field lies inside the bytes.

inline void storeU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void storeU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    storeU16(bytes, at, static_cast<std::uint16_t>(value));
    storeU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

inline std::uint16_t loadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

}  // namespace quillmar::config
