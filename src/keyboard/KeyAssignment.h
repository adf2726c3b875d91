#pragma once

#include <cstdint>

namespace quillmar::keyboard {

enum class AssignmentType : std::uint16_t {
    Default = 0,
    Disabled = 1,
    Key = 2,
    LaunchProgram = 3,
    PlayMacro = 4,
    StopMacro = 5,
    TextBlock = 6,
    Media = 7,
    Function = 8,
};

// One slot's assignment in one profile; the same 16 bytes in memory and in
// the profile file (little-endian).
struct KeyAssignment {
    AssignmentType type = AssignmentType::Default;
    std::uint16_t extra = 0;  // loop count of PlayMacro, G-key code of G slots, else 0
    std::uint32_t value = 0;  // key code, macro id, media or function index by type
    std::uint32_t colourKeyFlag = 0;
    std::uint32_t reserved = 0;
};
static_assert(sizeof(KeyAssignment) == 16);

// Slots of one profile's block of 512 records.
inline constexpr int kSlotsPerProfile = 512;
inline constexpr int kFirstGKeySlotBankA = 0x100;
inline constexpr int kFirstGKeySlotBankB = 0x109;
inline constexpr int kGKeyCount = 9;

}  // namespace quillmar::keyboard
