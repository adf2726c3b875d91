#pragma once

#include "text/Texts.h"
#include "text/TextSlots.h"

#include <string>

namespace quillmar::text {

// The text of a string-table slot, by its key, with the slot's built-in text
// as the fallback.
inline std::u16string slotText(const text::Texts& texts, TextSlot slot) {
    const TextSlotInfo& info = kTextSlots[static_cast<std::size_t>(slot)];
    return texts.text(info.key, info.builtIn);
}

}  // namespace quillmar::text
