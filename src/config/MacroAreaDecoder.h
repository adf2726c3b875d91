#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "config/MacroList.h"
#include "text/Texts.h"

namespace quillmar::config {

// The macros of a macro area read from the keyboard, in the keyboard's order:
// macro i gets id i + 1 (the id its keys decode to), its loop count, actions
// and name; a macro without a name is called MACRO_NEW_PREFIX followed by
// i + 1. The area is outside input: only what lies wholly inside the bytes is
// read. A macro whose entry header lies outside is left out (its id stays
// unused), actions beyond the bytes or beyond 2000 are dropped, a name that
// runs past the bytes is replaced by the generated one, and macros beyond
// 100 are ignored. nullopt when the bytes are not a macro area (shorter than
// its header, or another magic) or memory runs out.
std::optional<MacroList> decodeMacroArea(std::span<const std::uint8_t> area, const text::Texts& texts);

}  // namespace quillmar::config
