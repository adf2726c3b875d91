#pragma once

#include "keyboard/KeyCode.h"
#include "text/Texts.h"

#include <cstddef>
#include <span>
#include <string>

namespace quillmar::keyboard {

// Display name of a key: its own name, the string-table name of a media key,
// or the "unknown key" text with the code in hexadecimal.
std::u16string keyName(KeyCode code, const text::Texts& texts);

// The same name written into a caller's buffer, cut to fit with its
// terminator; returns the code units written before the terminator.
std::size_t keyName(KeyCode code, const text::Texts& texts, std::span<char16_t> buffer);

// Longest name a caller's buffer takes, terminator included.
inline constexpr std::size_t kKeyNameCapacity = 260;

}  // namespace quillmar::keyboard
