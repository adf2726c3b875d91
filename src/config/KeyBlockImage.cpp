#include "config/KeyBlockImage.h"

#include <algorithm>
#include <optional>

#include "keyboard/KeySlots.h"

namespace quillmar::config {
namespace {

using keyboard::DeviceKeyEntry;

// The assignment slot of the key at a position; nullopt for a position
// without an assignable key.
std::optional<std::size_t> slotOfPosition(DeviceKeyEntry defaultEntry) {
    const keyboard::KeyCode key = keyboard::keyOfPosition(defaultEntry);
    if (key == keyboard::kNoKey) return std::nullopt;
    const keyboard::KeyIndex slot = keyboard::keyIndexOf(key);
    if (slot == 0) return std::nullopt;
    return slot;
}

void putEntry(KeyBlockBytes& block, int position, DeviceKeyEntry entry) {
    const auto at = static_cast<std::size_t>(position) * 3;
    block[at] = entry.kind;
    block[at + 1] = entry.byte1;
    block[at + 2] = entry.byte2;
}

}  // namespace

KeyBlockBytes buildKeyBlock(ConstProfileRecords records, const keyboard::DefaultKeyTable& defaults,
                            const keyboard::MacroPositionLookup& macroPositionOf) {
    KeyBlockBytes block = defaults;
    for (int position = 0; position < keyboard::kKeyPositions; ++position) {
        const DeviceKeyEntry defaultEntry = keyboard::entryAt(defaults, position);
        if (const auto slot = slotOfPosition(defaultEntry))
            putEntry(block, position, keyboard::encodeKeyEntry(records[*slot], defaultEntry, macroPositionOf));
    }
    return block;
}

void decodeKeyBlock(ProfileRecords records, std::span<const std::uint8_t, keyboard::kKeyBlockBytes> block,
                    const keyboard::DefaultKeyTable& defaults) {
    std::fill(records.begin(), records.end(), keyboard::KeyAssignment{});
    for (int slot = keyboard::kFirstGKeySlotBankA; slot < keyboard::kFirstGKeySlotBankB + keyboard::kGKeyCount; ++slot)
        records[static_cast<std::size_t>(slot)].extra = keyboard::gKeyCodeOfSlot(slot);

    for (int position = 0; position < keyboard::kKeyPositions; ++position) {
        const auto at = static_cast<std::size_t>(position) * 3;
        const DeviceKeyEntry entry{block[at], block[at + 1], block[at + 2]};
        const DeviceKeyEntry defaultEntry = keyboard::entryAt(defaults, position);
        if (entry == defaultEntry) continue;
        if (const auto slot = slotOfPosition(defaultEntry))
            records[*slot] = keyboard::decodeKeyEntry(entry, defaultEntry);
    }
}

}  // namespace quillmar::config
