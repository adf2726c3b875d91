#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "config/AssignmentBlock.h"
#include "config/MacroRecord.h"

namespace quillmar::profiles {

// Layout of the binary configuration file (the per-user profile file and the
// export/import files): the 32832-byte assignment block (header, fixed block,
// 2048 records), N macro records, then the text area of launch-program and
// text-block texts. Little-endian throughout.
inline constexpr std::uint16_t kProfileFileMagic = 0x4446;
inline constexpr std::uint16_t kProfileHeaderSize = 32;
inline constexpr std::uint16_t kProfileHeaderConstant = 3;
inline constexpr std::uint16_t kProfileFileVersion = 1;
inline constexpr std::size_t kAssignmentBlockSize = sizeof(config::AssignmentBlock);
inline constexpr std::size_t kMacroRecordSize = sizeof(config::MacroRecord);

using HeaderBytes = std::array<std::uint8_t, kProfileHeaderSize>;

struct ProfileFileHeader {
    std::uint16_t magic = kProfileFileMagic;
    std::uint16_t headerSize = kProfileHeaderSize;
    std::uint16_t constant = kProfileHeaderConstant;
    std::uint16_t version = kProfileFileVersion;
    std::uint32_t totalSize = kAssignmentBlockSize;
    std::uint16_t recordCount = config::kAssignmentRecordCount;
    std::uint16_t macroCount = 0;
    std::uint32_t textAreaSize = 0;
    std::uint32_t reserved0 = 0;
    std::uint32_t reserved1 = 0;
    std::uint16_t reserved2 = 0;
    std::uint8_t flag = 0;      // written 0; 0 and 1 are accepted
    std::uint8_t checksum = 0;  // sum of the 31 bytes before it, modulo 256
};
static_assert(sizeof(ProfileFileHeader) == kProfileHeaderSize);
static_assert(offsetof(ProfileFileHeader, totalSize) == 8);
static_assert(offsetof(ProfileFileHeader, textAreaSize) == 16);
static_assert(offsetof(ProfileFileHeader, flag) == 30);

std::uint8_t headerChecksum(const HeaderBytes& bytes);

ProfileFileHeader decodeHeader(const HeaderBytes& bytes);

// The header of a file with these counts, checksum included.
HeaderBytes encodeHeader(std::uint16_t macroCount, std::uint32_t textAreaSize);

// Bytes the header says the file holds: 32832 + N × 16512 + T (never wraps).
std::uint64_t declaredTotalSize(const ProfileFileHeader& header);

// The import check of a header: the constant fields, at most 100 macros, a
// total that matches the counts and a correct checksum. The file's real
// length is not part of it.
bool passesHeaderCheck(const HeaderBytes& bytes);

// The 32 bytes that follow the header in every file (they carry the
// keyboard's USB vendor and product ids).
extern const std::array<std::uint8_t, 32> kFixedBlock;

// The configuration of a keyboard nobody has changed: no macros, no texts,
// every key at its default and the G-key slots of profile slot 0 holding
// their G-key codes.
config::AssignmentBlock defaultAssignmentBlock();

}  // namespace quillmar::profiles
