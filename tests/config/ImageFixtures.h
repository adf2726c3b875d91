#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "config/MacroList.h"
#include "config/MacroRecord.h"

namespace quillmar::config::testing {

using Bytes = std::vector<std::uint8_t>;

inline MacroAction press(keyboard::KeyCode key, std::uint32_t delayMs = 0) {
    return {delayMs, key, KeyDirection::Press};
}

inline MacroAction release(keyboard::KeyCode key, std::uint32_t delayMs = 0) {
    return {delayMs, key, KeyDirection::Release};
}

inline MacroRecord macroOf(std::u16string_view name, std::uint16_t id, std::uint8_t loopCount,
                           std::initializer_list<MacroAction> actions) {
    MacroRecord macro{};
    setMacroName(macro, name);
    macro.id = id;
    macro.loopCount = loopCount;
    setMacroActions(macro, std::vector<MacroAction>(actions));
    return macro;
}

// A macro with the given number of alternating presses and releases of A.
inline MacroRecord macroWithActions(std::u16string_view name, std::uint16_t id, int count) {
    MacroRecord macro = macroOf(name, id, 1, {});
    for (int i = 0; i < count; ++i) appendMacroAction(macro, i % 2 ? release(0x1E, 10) : press(0x1E, 10));
    return macro;
}

}  // namespace quillmar::config::testing
