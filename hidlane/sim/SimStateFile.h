#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "hidlane/sim/SimMemory.h"

namespace quillmar::sim {

// The simulated keyboard keeps its memory across runs in one file:
// "QSIM", u32 version 1 (LE), then device info, settings, key blocks, default
// layout, key colours and the macro area (device info byte 11 x 128 bytes).

// QUILLMAR_SIM_STATE, else $XDG_STATE_HOME/quillmar/sim-keyboard.bin, else
// ~/.local/state/quillmar/sim-keyboard.bin; empty when none can be formed.
std::filesystem::path simStatePath();

std::vector<std::uint8_t> serializeSimState(const SimMemory& memory);
// Nothing for bytes that are not exactly one well-formed state.
std::optional<SimMemory> parseSimState(std::span<const std::uint8_t> bytes);

// Which version of the state file is on disk. Every save replaces the file,
// so another process's save shows as a different stamp.
struct SimStateStamp {
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    std::uintmax_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const SimStateStamp&) const = default;
};
// Nothing when the file does not exist.
std::optional<SimStateStamp> simStateStamp(const std::filesystem::path& path);

// Nothing when the file is missing, unreadable or damaged.
std::optional<SimMemory> loadSimState(const std::filesystem::path& path);
// Writes a temporary file beside the target and renames it over; creates the folder.
bool saveSimState(const std::filesystem::path& path, const SimMemory& memory);

}  // namespace quillmar::sim
