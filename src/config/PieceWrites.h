#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "device/DeviceCommands.h"
#include "device/KeyboardMirror.h"

namespace quillmar::config {

// One area a download writes, the macro area or a profile's key block, with
// the offsets of the 56-byte pieces of it that go to the keyboard.
struct AreaWrite {
    device::MirroredArea area = device::MirroredArea::MacroArea;
    int profile = -1;  // the key block's profile; -1 for the macro area
    std::span<const std::uint8_t> bytes;
    std::vector<std::size_t> pieces;
    int result = 0;  // of the write; 1 when every piece was taken
};

AreaWrite macroAreaWrite(std::span<const std::uint8_t> area);
AreaWrite keyBlockWrite(int profile, std::span<const std::uint8_t, device::kKeyBlockBytes> block);

// Keeps only the pieces the mirror does not know to hold already; with
// changesOnly false every piece stays.
void leaveOutKnownPieces(AreaWrite& write, const device::KeyboardMirror& mirror, bool changesOnly);

std::size_t pieceCount(const std::vector<AreaWrite>& writes);

// Writes the pieces of every area, in order. Their bytes leave the mirror
// first, as what the keyboard makes of them is unknown until read back.
void writePieces(device::DeviceCommands& commands, std::vector<AreaWrite>& writes);

// Reads back the pieces of every area whose write was taken, and makes
// what was read the mirror's: that is what the keyboard holds. A read that
// fails leaves its pieces unknown.
struct Verification {
    std::vector<const AreaWrite*> mismatched;  // areas read back other than written
    bool readFailed = false;
};
Verification verifyPieces(device::DeviceCommands& commands, const std::vector<AreaWrite>& writes);

}  // namespace quillmar::config
