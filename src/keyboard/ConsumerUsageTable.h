#pragma once

#include <array>
#include <cstdint>

namespace quillmar::keyboard {

inline constexpr std::uint8_t kFirstConsumerDeviceUsage = 0xC0;
inline constexpr std::uint8_t kLastConsumerDeviceUsage = 0xDF;

// Consumer page usage ids behind the device usages 0xC0..0xDF; 0 = none.
inline constexpr std::array<std::uint16_t, 32> kConsumerUsageTable = {
    0x00E9,  // volume increment
    0x00EA,  // volume decrement
    0x0183,  // consumer control configuration
    0x018A,  // email reader
    0x0192,  // calculator
    0x0194,  // local machine browser
    0x0221,  // search
    0x0223,  // home
    0x0224,  // back
    0x0225,  // forward
    0x0226,  // stop
    0x0227,  // refresh
    0x022A,  // bookmarks
    0x00E2,  // mute
    0x00CD,  // play/pause
    0x00B7,  // stop
    0x00B6,  // scan previous track
    0x00B5,  // scan next track
};

}  // namespace quillmar::keyboard
