#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "config/AssignmentBlock.h"
#include "config/MacroRecord.h"

namespace quillmar::config {

inline constexpr std::uint16_t kBlockHeaderMagic = 0x4446;
inline constexpr std::uint16_t kBlockHeaderSize = 32;
inline constexpr std::uint16_t kBlockHeaderConstant = 3;
inline constexpr std::uint16_t kBlockHeaderVersion = 1;

// Offsets of the header's fields.
namespace block_header {
inline constexpr std::size_t kMagic = 0;
inline constexpr std::size_t kHeaderSize = 2;
inline constexpr std::size_t kConstant = 4;
inline constexpr std::size_t kVersion = 6;
inline constexpr std::size_t kTotalSize = 8;
inline constexpr std::size_t kRecordCount = 12;
inline constexpr std::size_t kMacroCount = 14;
inline constexpr std::size_t kTextAreaSize = 16;
inline constexpr std::size_t kFlag = 30;
inline constexpr std::size_t kChecksum = 31;
}  // namespace block_header

// Bytes a configuration with these counts takes in the profile file.
constexpr std::uint32_t configurationFileSize(std::uint16_t macroCount, std::uint32_t textBytes) {
    return static_cast<std::uint32_t>(sizeof(AssignmentBlock) + macroCount * sizeof(MacroRecord)) + textBytes;
}

// Sum of header bytes 0 to 30, modulo 256.
std::uint8_t blockHeaderChecksum(const std::array<std::uint8_t, 32>& header);

// The header of a configuration of macroCount macros and a text area of
// textBytes: the fixed fields, the sizes, flag 0, the reserved bytes zero and
// the checksum last.
std::array<std::uint8_t, 32> blockHeaderFor(std::uint16_t macroCount, std::uint32_t textBytes);

// Rewrites the block's header with blockHeaderFor.
void refreshBlockHeader(AssignmentBlock& block, std::uint16_t macroCount, std::uint32_t textBytes);

}  // namespace quillmar::config
