#include "profiles/ProfileFileFormat.h"

#include <cstring>

#include "config/AssignmentBlockHeader.h"

namespace quillmar::profiles {
namespace {

constexpr std::uint16_t kFirstGKeyCodeBankA = 0x0301;
constexpr std::uint16_t kFirstGKeyCodeBankB = 0x1301;

}  // namespace

const std::array<std::uint8_t, 32> kFixedBlock = {
    0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00,
    0x45, 0x0C, 0x18, 0x75, 0x4F, 0x1C, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};

std::uint8_t headerChecksum(const HeaderBytes& bytes) {
    return config::blockHeaderChecksum(bytes);
}

ProfileFileHeader decodeHeader(const HeaderBytes& bytes) {
    ProfileFileHeader header;
    std::memcpy(&header, bytes.data(), sizeof header);
    return header;
}

HeaderBytes encodeHeader(std::uint16_t macroCount, std::uint32_t textAreaSize) {
    return config::blockHeaderFor(macroCount, textAreaSize);
}

std::uint64_t declaredTotalSize(const ProfileFileHeader& header) {
    return kAssignmentBlockSize + std::uint64_t{header.macroCount} * kMacroRecordSize +
           header.textAreaSize;
}

bool passesHeaderCheck(const HeaderBytes& bytes) {
    const ProfileFileHeader header = decodeHeader(bytes);
    return header.magic == kProfileFileMagic && header.headerSize == kProfileHeaderSize &&
           header.constant == kProfileHeaderConstant && header.version == kProfileFileVersion &&
           header.totalSize >= kAssignmentBlockSize &&
           header.recordCount == config::kAssignmentRecordCount &&
           header.macroCount <= config::kMaxMacros && header.flag < 2 &&
           header.totalSize == declaredTotalSize(header) && header.checksum == headerChecksum(bytes);
}

config::AssignmentBlock defaultAssignmentBlock() {
    config::AssignmentBlock block{};
    block.header = encodeHeader(0, 0);
    block.fixedBlock = kFixedBlock;
    for (int n = 0; n < keyboard::kGKeyCount; ++n) {
        const auto code = static_cast<std::uint16_t>(n);
        block.records[static_cast<std::size_t>(config::assignmentRecordIndex(0, keyboard::kFirstGKeySlotBankA + n))]
            .extra = static_cast<std::uint16_t>(kFirstGKeyCodeBankA + code);
        block.records[static_cast<std::size_t>(config::assignmentRecordIndex(0, keyboard::kFirstGKeySlotBankB + n))]
            .extra = static_cast<std::uint16_t>(kFirstGKeyCodeBankB + code);
    }
    return block;
}

}  // namespace quillmar::profiles
