#pragma once

#include "keyboard/KeyAssignment.h"
#include "keyboard/KeyCode.h"
#include "text/Texts.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quillmar::keyboard {

// The name of the macro with an id in the working configuration; empty when
// no macro has it.
using MacroNameLookup = std::function<std::u16string(std::uint32_t macroId)>;

// How a key button shows its record: the assigned or the plain look, and the
// tooltip naming the key and what it was given.
struct KeyDescription {
    bool assigned = false;
    std::u16string tooltip;
    friend bool operator==(const KeyDescription&, const KeyDescription&) = default;
};

KeyDescription describeKey(KeyCode code, const KeyAssignment& record, const text::Texts& texts,
                           const MacroNameLookup& macroNameOf = {});

// The same for G-key n (1..9), named "G<n>".
KeyDescription describeGKey(int n, const KeyAssignment& record, const text::Texts& texts,
                            const MacroNameLookup& macroNameOf = {});

}  // namespace quillmar::keyboard
