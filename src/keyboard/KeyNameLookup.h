#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "keyboard/KeyCode.h"

namespace quillmar::keyboard {

// Other spellings users type for a key besides its display name.
struct KeyAlias {
    KeyCode code;
    std::u16string_view alias;
};

// Every alias, grouped by key.
std::span<const KeyAlias> keyAliases();

// The aliases of one key, in table order.
std::vector<std::u16string_view> aliasesOf(KeyCode code);

// The keys a typed name stands for: display names of the key table (the
// media keys, named by the string table, are not among them) and aliases, compared without regard to ASCII
// letter case, blanks or underscores ("left ctrl", "PgUp", "num_plus"). Two
// keys may share a name ("Right Shift"); they come in key-index order.
// Empty when no key has the name.
std::vector<KeyCode> keyCodesNamed(std::u16string_view name);

}  // namespace quillmar::keyboard
