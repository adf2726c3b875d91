#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "keyboard/DefaultKeyTable.h"
#include "keyboard/KeyAssignment.h"
#include "keyboard/KeyEntryCodec.h"

namespace quillmar::config {

// One profile's key table on the keyboard: the entry of each of the 126
// positions, 3 bytes each.
using KeyBlockBytes = std::array<std::uint8_t, keyboard::kKeyBlockBytes>;
using ProfileRecords = std::span<keyboard::KeyAssignment, keyboard::kSlotsPerProfile>;
using ConstProfileRecords = std::span<const keyboard::KeyAssignment, keyboard::kSlotsPerProfile>;

// The block to download for one profile's 512 records: each position whose
// default entry names a key carries the encoding of that key's record; every
// other position keeps its default entry.
KeyBlockBytes buildKeyBlock(ConstProfileRecords records, const keyboard::DefaultKeyTable& defaults,
                            const keyboard::MacroPositionLookup& macroPositionOf);

// Refills one profile's 512 records from a block read from the keyboard: all
// cleared, the G-key slots given their G-key codes, and each position whose
// entry differs from its default written into its key's record.
void decodeKeyBlock(ProfileRecords records, std::span<const std::uint8_t, keyboard::kKeyBlockBytes> block,
                    const keyboard::DefaultKeyTable& defaults);

}  // namespace quillmar::config
