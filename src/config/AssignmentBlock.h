#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "keyboard/KeyAssignment.h"

namespace quillmar::config {

inline constexpr int kProfileSlotCount = 4;
inline constexpr int kAssignmentRecordCount = kProfileSlotCount * keyboard::kSlotsPerProfile;

// Index of a slot's record in the block of the given profile slot.
constexpr int assignmentRecordIndex(int profileSlot, int slot) {
    return profileSlot * keyboard::kSlotsPerProfile + slot;
}

// The key assignments of every profile slot exactly as they open the profile
// file: its 32-byte header, the 32-byte fixed block, then 2048 records of 16
// bytes (four blocks of 512, one per profile slot).
struct AssignmentBlock {
    std::array<std::uint8_t, 32> header{};
    std::array<std::uint8_t, 32> fixedBlock{};
    std::array<keyboard::KeyAssignment, kAssignmentRecordCount> records{};
};
static_assert(sizeof(AssignmentBlock) == 32832);
static_assert(offsetof(AssignmentBlock, fixedBlock) == 32);
static_assert(offsetof(AssignmentBlock, records) == 64);

}  // namespace quillmar::config
