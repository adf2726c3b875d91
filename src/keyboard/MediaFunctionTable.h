#pragma once

#include "keyboard/KeyCode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillmar::keyboard {

// A multimedia function a key can be given; its name is a string-table text.
struct MediaFunction {
    std::uint16_t consumerUsage;
    KeyCode keyCode;
    std::string_view nameKey;
};

inline constexpr std::u16string_view kMediaNameBuiltIn = u"Hello world";

inline constexpr std::array<MediaFunction, 18> kMediaFunctionTable = {{
    {0x0183, 0x16D, "MEDIA_PALYER_1"},
    {0x00CD, 0x122, "MEDIA_PALY_PAUSE_2"},
    {0x00B7, 0x124, "MEDIA_STOP_PALY_3"},
    {0x00B6, 0x110, "MEDIA_PREV_TRACK_4"},
    {0x00B5, 0x119, "MEDIA_Next_TRACK_5"},
    {0x00EA, 0x12E, "MEDIA_V_LOW_6"},
    {0x00E9, 0x130, "MEDIA_V_ADD_7"},
    {0x00E2, 0x120, "MEDIA_MUTE_8"},
    {0x0223, 0x132, "MEDIA_WWW_HOME_9"},
    {0x0227, 0x167, "MEDIA_WWW_REFRESH_10"},
    {0x0226, 0x168, "MEDIA_WWW_STOP_11"},
    {0x0224, 0x16A, "MEDIA_WWW_BACK_12"},
    {0x0225, 0x169, "MEDIA_WWW_FORWARD_13"},
    {0x022A, 0x166, "MEDIA_WWW_FAVORITE_14"},
    {0x0221, 0x165, "MEDIA_WWW_SEARCH_15"},
    {0x0194, 0x16B, "MEDIA_MY_PC_16"},
    {0x0192, 0x121, "MEDIA_CALC_17"},
    {0x018A, 0x16C, "MEDIA_MAIL_18"},
}};

constexpr std::optional<std::size_t> mediaIndexOfKeyCode(KeyCode code) {
    for (std::size_t i = 0; i < kMediaFunctionTable.size(); ++i)
        if (kMediaFunctionTable[i].keyCode == code) return i;
    return std::nullopt;
}

constexpr std::optional<std::size_t> mediaIndexOfUsage(std::uint16_t consumerUsage) {
    for (std::size_t i = 0; i < kMediaFunctionTable.size(); ++i)
        if (kMediaFunctionTable[i].consumerUsage == consumerUsage) return i;
    return std::nullopt;
}

// The keys named from this table; key capture and recording let them pass.
constexpr bool isMediaKeyCode(KeyCode code) {
    return mediaIndexOfKeyCode(code).has_value();
}

namespace detail {
constexpr bool mediaTableIsOneToOne() {
    for (std::size_t i = 0; i < kMediaFunctionTable.size(); ++i)
        if (mediaIndexOfKeyCode(kMediaFunctionTable[i].keyCode) != i ||
            mediaIndexOfUsage(kMediaFunctionTable[i].consumerUsage) != i)
            return false;
    return true;
}
static_assert(mediaTableIsOneToOne(), "each media function has its own key and usage");
}  // namespace detail

}  // namespace quillmar::keyboard
