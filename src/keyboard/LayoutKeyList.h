#pragma once

#include "keyboard/KeyCode.h"

#include <array>
#include <cstddef>

namespace quillmar::keyboard {

// One ordinary key of the drawn keyboard: its key, its button and the index
// (row × 21 + column) of its light in the keyboard's 6 × 21 light matrix.
struct LayoutKey {
    KeyCode keyCode;
    int buttonId;
    int lightingPosition;
};

inline constexpr int kLayoutKeyCount = 105;

// The drawn keyboard's keys in layout order; every loop over all keys
// visits them in this order.
inline constexpr std::array<LayoutKey, kLayoutKeyCount> kLayoutKeyList = {{
    {0x01E, 1058, 64}, {0x030, 1075, 90}, {0x02E, 1073, 88}, {0x020, 1060, 66},   // A B C D
    {0x012, 1046, 45}, {0x021, 1061, 67}, {0x022, 1062, 68}, {0x023, 1063, 69},   // E F G H
    {0x017, 1051, 50}, {0x024, 1064, 70}, {0x025, 1065, 71}, {0x026, 1066, 72},   // I J K L
    {0x032, 1077, 92}, {0x031, 1076, 91}, {0x018, 1052, 51}, {0x019, 1053, 52},   // M N O P
    {0x010, 1044, 43}, {0x013, 1047, 46}, {0x01F, 1059, 65}, {0x014, 1048, 47},   // Q R S T
    {0x016, 1050, 49}, {0x02F, 1074, 89}, {0x011, 1045, 44}, {0x02D, 1072, 87},   // U V W X
    {0x015, 1049, 48}, {0x02C, 1071, 86},                                         // Y Z
    {0x002, 1030, 22}, {0x003, 1031, 23}, {0x004, 1032, 24}, {0x005, 1033, 25},   // 1 2 3 4
    {0x006, 1034, 26}, {0x007, 1035, 27}, {0x008, 1036, 28}, {0x009, 1037, 29},   // 5 6 7 8
    {0x00A, 1038, 30}, {0x00B, 1039, 31},                                         // 9 0
    {0x01C, 1070, 76}, {0x001, 1022, 0},  {0x00E, 1043, 34}, {0x00F, 1056, 42},   // Enter Esc Backspace Tab
    {0x039, 1090, 108}, {0x00C, 1040, 32}, {0x00D, 1041, 33}, {0x01A, 1054, 53},  // Space - = [
    {0x01B, 1055, 54}, {0x02B, 1042, 55}, {0x027, 1067, 73}, {0x028, 1068, 74},   // ] \ ; '
    {0x029, 1029, 21}, {0x033, 1078, 93}, {0x034, 1079, 94}, {0x035, 1080, 95},   // ` , . /
    {0x03B, 1010, 1},  {0x03C, 1011, 2},  {0x03D, 1012, 3},  {0x03E, 1013, 4},    // F1..F4
    {0x03F, 1014, 5},  {0x040, 1015, 6},  {0x041, 1023, 7},  {0x042, 1024, 8},    // F5..F8
    {0x043, 1025, 9},  {0x044, 1026, 10}, {0x057, 1027, 11}, {0x058, 1028, 12},   // F9..F12
    {0x137, 1091, 14}, {0x045, 1093, 16}, {0x152, 1094, 35}, {0x153, 1097, 56},   // Print Screen Pause Insert Delete
    {0x147, 1095, 36}, {0x14F, 1098, 57}, {0x149, 1096, 37}, {0x151, 1099, 58},   // Home End Page Up Page Down
    {0x148, 1103, 99}, {0x150, 1101, 120}, {0x14B, 1100, 119}, {0x14D, 1102, 121},  // arrows: up down left right
    {0x046, 1092, 15}, {0x03A, 1069, 63}, {0x15D, 1088, 111}, {0x01D, 1083, 105},  // Scroll Lock Caps Lock App Ctrl
    {0x11D, 1089, 113}, {0x02A, 1082, 84}, {0x036, 1081, 97}, {0x038, 1085, 107},  // Right Ctrl Shift Right Shift Alt
    {0x138, 1086, 109}, {0x15B, 1084, 106}, {0x15C, 1087, 112},                    // Right Alt Win Right Win
    {0x04F, 1115, 101}, {0x050, 1116, 102}, {0x051, 1117, 103}, {0x04B, 1112, 80},  // Num 1 2 3 4
    {0x04C, 1113, 81}, {0x04D, 1114, 82}, {0x047, 1108, 59}, {0x048, 1109, 60},   // Num 5 6 7 8
    {0x049, 1110, 61}, {0x052, 1120, 123}, {0x145, 1104, 38}, {0x11C, 1118, 104},  // Num 9 0, Num Lock, Num Enter
    {0x053, 1119, 124}, {0x135, 1105, 39}, {0x037, 1106, 40}, {0x04A, 1107, 41},  // Num . / * -
    {0x04E, 1111, 62}, {0x056, 1207, 85},                                         // Num + K45
}};

// The nine G-key buttons G1..G9, by button identifier.
inline constexpr std::array<int, 9> kGKeyList = {1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};

inline constexpr int kFnButtonId = 1174;
inline constexpr int kG9ButtonId = 1143;
inline constexpr int kGKeyLightingPosition = 125;
inline constexpr int kFnLightingPosition = 110;

namespace detail {
constexpr bool layoutIsConsistent() {
    std::array<bool, 512> keySeen{};
    std::array<bool, 126> lightSeen{};
    lightSeen[kGKeyLightingPosition] = lightSeen[kFnLightingPosition] = true;
    for (const LayoutKey& key : kLayoutKeyList) {
        if (!isValidKeyCode(key.keyCode) || keySeen[key.keyCode]) return false;
        keySeen[key.keyCode] = true;
        if (key.lightingPosition < 0 || key.lightingPosition >= 126 || lightSeen[key.lightingPosition]) return false;
        lightSeen[key.lightingPosition] = true;
        for (int id : kGKeyList)
            if (id == key.buttonId) return false;
        if (key.buttonId == kFnButtonId) return false;
    }
    for (std::size_t i = 0; i < kLayoutKeyList.size(); ++i)
        for (std::size_t j = i + 1; j < kLayoutKeyList.size(); ++j)
            if (kLayoutKeyList[i].buttonId == kLayoutKeyList[j].buttonId) return false;
    return true;
}
static_assert(layoutIsConsistent(), "each layout key has its own key, button and light");
}  // namespace detail

}  // namespace quillmar::keyboard
