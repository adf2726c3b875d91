#include "config/AssignmentBlockHeader.h"

#include <numeric>

#include "config/LittleEndian.h"

namespace quillmar::config {

std::uint8_t blockHeaderChecksum(const std::array<std::uint8_t, 32>& header) {
    const unsigned sum = std::accumulate(header.begin(), header.begin() + block_header::kChecksum, 0u);
    return static_cast<std::uint8_t>(sum);
}

std::array<std::uint8_t, 32> blockHeaderFor(std::uint16_t macroCount, std::uint32_t textBytes) {
    std::array<std::uint8_t, 32> header{};
    storeU16(header, block_header::kMagic, kBlockHeaderMagic);
    storeU16(header, block_header::kHeaderSize, kBlockHeaderSize);
    storeU16(header, block_header::kConstant, kBlockHeaderConstant);
    storeU16(header, block_header::kVersion, kBlockHeaderVersion);
    storeU32(header, block_header::kTotalSize, configurationFileSize(macroCount, textBytes));
    storeU16(header, block_header::kRecordCount, kAssignmentRecordCount);
    storeU16(header, block_header::kMacroCount, macroCount);
    storeU32(header, block_header::kTextAreaSize, textBytes);
    header[block_header::kChecksum] = blockHeaderChecksum(header);
    return header;
}

void refreshBlockHeader(AssignmentBlock& block, std::uint16_t macroCount, std::uint32_t textBytes) {
    block.header = blockHeaderFor(macroCount, textBytes);
}

}  // namespace quillmar::config
