#include "lighting/PreviewTables.h"

namespace quillmar::lighting {
namespace {

constexpr std::array<std::uint8_t, 32> kRising = {1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                                  44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                                  140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<std::uint8_t, 32> kFalling = {248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                                   114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                                   29,  24,  20,  16,  12,  8,   6,   4,   2,   0};

constexpr std::array<ColourValue, kWheelSize> makeWheel() {
    std::array<ColourValue, kWheelSize> wheel{};
    for (int i = 0; i < 32; ++i) {
        const std::uint8_t up = kRising[i];
        const std::uint8_t down = kFalling[i];
        wheel[i] = colourFromRgb(255, up, 0);
        wheel[32 + i] = colourFromRgb(down, 255, 0);
        wheel[64 + i] = colourFromRgb(0, 255, up);
        wheel[96 + i] = colourFromRgb(0, down, 255);
        wheel[128 + i] = colourFromRgb(up, 0, 255);
        wheel[160 + i] = colourFromRgb(255, 0, down);
    }
    return wheel;
}

// The first half, then the same values in reverse.
template <std::size_t Half>
constexpr std::array<std::uint8_t, 2 * Half> mirrored(const std::array<std::uint8_t, Half>& half) {
    std::array<std::uint8_t, 2 * Half> curve{};
    for (std::size_t i = 0; i < Half; ++i) {
        curve[i] = half[i];
        curve[2 * Half - 1 - i] = half[i];
    }
    return curve;
}

constexpr std::array<std::uint8_t, 48> kWaveHalf = {
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<std::uint8_t, 64> kBreathingHalf = {
    3,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

// 80 values, then zeros.
constexpr std::array<std::uint8_t, kPulseCurveSize> kPulse = {
    0,   4,   8,   14,  22,  33,  45,  61,  77,  94,  114, 134, 158, 182, 206, 234,
    255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182, 176, 170, 164, 158,
    152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,  81,  77,
    73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
    20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1};

constexpr int E = kEmptyCell;
constexpr std::array<std::array<int, kGridColumns>, kGridRows> kKeyGrid = {{
    {E, E, 1022, 1010, 1011, 1012, 1013, E, 1014, 1015, 1023, 1024, 1025, 1026, 1027, 1028, 1091, 1092, 1093, E, E, E, E},
    {E, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1043, 1043, 1094, 1095, 1096, 1104,
     1105, 1106, 1107},
    {E, 1056, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055, 1042, 1042, 1097, 1098, 1099, 1108,
     1109, 1110, E},
    {E, 1069, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1070, E, E, E, E, E, 1112, 1113, 1114,
     1111},
    {1082, 1207, 1071, 1072, 1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080, E, E, 1081, 1081, E, 1103, E, 1115, 1116,
     1117, 1118},
    {1083, 1084, 1085, E, E, E, 1090, E, E, 1086, 1086, 1174, 1088, E, 1089, 1089, 1100, 1101, 1102, 1120, 1120, 1119, E},
}};

constexpr std::array<int, kKeySequenceLength> kKeySequence = {
    1093, 1092, 1091, 1028, 1027, 1026, 1025, 1024, 1023, 1015, 1014, 1013, 1012, 1011, 1010, 1022, 1029, 1056,
    1069, 1082, 1083, 1084, 1085, 1090, 1086, 1174, 1088, 1089, 1100, 1101, 1102, 1120, 1119, 1118, 1111, 1107,
    1106, 1105, 1104, 1096, 1095, 1094, 1043, 1041, 1040, 1039, 1038, 1037, 1036, 1035, 1034, 1033, 1032, 1031,
    1030, 1044, 1058, 1207, 1071, 1072, 1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080, 1081, 1103, 1115, 1116,
    1117, 1114, 1110, 1109, 1108, 1099, 1098, 1097, 1042, 1055, 1054, 1053, 1052, 1051, 1050, 1049, 1048, 1047,
    1046, 1045, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1070, 1112, 1113};

constexpr auto kWheel = makeWheel();
constexpr auto kWaveCurve = mirrored(kWaveHalf);
constexpr auto kBreathingCurve = mirrored(kBreathingHalf);

}  // namespace

const std::array<ColourValue, kWheelSize>& colourWheel() { return kWheel; }
const std::array<std::uint8_t, kWaveCurveSize>& waveCurve() { return kWaveCurve; }
const std::array<std::uint8_t, kPulseCurveSize>& pulseCurve() { return kPulse; }
const std::array<std::uint8_t, kBreathingCurveSize>& breathingCurve() { return kBreathingCurve; }
const std::array<std::array<int, kGridColumns>, kGridRows>& keyGrid() { return kKeyGrid; }
const std::array<int, kKeySequenceLength>& keySequence() { return kKeySequence; }

}  // namespace quillmar::lighting
