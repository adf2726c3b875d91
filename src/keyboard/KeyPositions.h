#pragma once

#include "keyboard/DefaultKeyTable.h"
#include "keyboard/KeyCode.h"

namespace quillmar::keyboard {

// Whether the keyboard has a position for the key: some position's entry in
// the default key layout read on its arrival names it. Only such keys reach
// the keyboard's key table, so a key without one cannot be given another
// function (with the built-in layout: Num *, Num +, Num Enter, Num 3, Num 6,
// Num 9, K45 and Right Win).
bool hasKeyPosition(KeyCode code, const DefaultKeyTable& layout);

}  // namespace quillmar::keyboard
