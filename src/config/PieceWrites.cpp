#include "config/PieceWrites.h"

#include <algorithm>
#include <array>

#include "device/DeviceReport.h"
#include "device/ResultCode.h"

namespace quillmar::config {
namespace {

constexpr std::size_t kPieceBytes = device::DeviceReport::kMaxData;

std::vector<std::size_t> everyPiece(std::size_t size) {
    std::vector<std::size_t> offsets;
    for (std::size_t offset = 0; offset < size; offset += kPieceBytes) offsets.push_back(offset);
    return offsets;
}

std::size_t addressOf(const AreaWrite& write) {
    return write.profile < 0 ? 0 : static_cast<std::size_t>(write.profile) * device::kKeyBlockBytes;
}

std::span<const std::uint8_t> pieceOf(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return bytes.subspan(offset, std::min(kPieceBytes, bytes.size() - offset));
}

device::PieceSelection selectionOf(const AreaWrite& write) {
    return [&write](std::size_t offset) { return std::ranges::find(write.pieces, offset) != write.pieces.end(); };
}

int sendPieces(device::DeviceCommands& commands, const AreaWrite& write) {
    if (write.profile < 0) return commands.WriteMacroArea(write.bytes, selectionOf(write));
    return commands.WriteProfileKeys(write.profile, write.bytes.first<device::kKeyBlockBytes>(), selectionOf(write));
}

int readPieces(device::DeviceCommands& commands, const AreaWrite& write, std::span<std::uint8_t> into) {
    if (write.profile < 0) return commands.ReadMacroArea(into, selectionOf(write));
    return commands.ReadProfileKeys(write.profile, into.first<device::kKeyBlockBytes>(), selectionOf(write));
}

}  // namespace

AreaWrite macroAreaWrite(std::span<const std::uint8_t> area) {
    return {device::MirroredArea::MacroArea, -1, area, everyPiece(area.size())};
}

AreaWrite keyBlockWrite(int profile, std::span<const std::uint8_t, device::kKeyBlockBytes> block) {
    return {device::MirroredArea::KeyBlocks, profile, block, everyPiece(block.size())};
}

void leaveOutKnownPieces(AreaWrite& write, const device::KeyboardMirror& mirror, bool changesOnly) {
    if (!changesOnly) return;
    const std::size_t address = addressOf(write);
    std::erase_if(write.pieces, [&](std::size_t offset) {
        return mirror.holds(write.area, address + offset, pieceOf(write.bytes, offset));
    });
}

std::size_t pieceCount(const std::vector<AreaWrite>& writes) {
    std::size_t count = 0;
    for (const AreaWrite& write : writes) count += write.pieces.size();
    return count;
}

void writePieces(device::DeviceCommands& commands, std::vector<AreaWrite>& writes) {
    for (AreaWrite& write : writes) {
        if (write.pieces.empty()) {
            write.result = device::kSuccess;
            continue;
        }
        for (const std::size_t offset : write.pieces)
            commands.mirror().forget(write.area, addressOf(write) + offset, pieceOf(write.bytes, offset).size());
        write.result = sendPieces(commands, write);
    }
}

Verification verifyPieces(device::DeviceCommands& commands, const std::vector<AreaWrite>& writes) {
    Verification verification;
    for (const AreaWrite& write : writes) {
        if (write.pieces.empty() || write.result != device::kSuccess) continue;
        std::vector<std::uint8_t> read(write.bytes.begin(), write.bytes.end());
        if (readPieces(commands, write, read) != device::kSuccess) {
            verification.readFailed = true;
            continue;
        }
        bool same = true;
        for (const std::size_t offset : write.pieces) {
            const auto kept = pieceOf(read, offset);
            commands.mirror().remember(write.area, addressOf(write) + offset, kept);
            same = same && std::ranges::equal(kept, pieceOf(write.bytes, offset));
        }
        if (!same) verification.mismatched.push_back(&write);
    }
    return verification;
}

}  // namespace quillmar::config
