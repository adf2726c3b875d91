#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillmar::text {

// Numbers in settings text, read the way the stored files were written and
// read: "%d", "%d,%d,%d" and "%d,%d,%d,%d".

// The leading decimal number of text: blanks skipped, an optional sign, then
// digits up to the first non-digit; 0 when there is none. Saturates at the
// limits of int instead of overflowing.
int leadingDecimal(std::string_view text);

// Scans text as a comma-separated list of decimals into fields, in order,
// stopping at the first field the text does not supply; the fields after it
// are left as they are. Blanks may precede each number, not a comma.
// Returns the number of fields filled.
std::size_t scanDecimalList(std::string_view text, std::span<int> fields);

// "%d,%d,..." of the values.
std::string formatDecimalList(std::span<const int> values);

}  // namespace quillmar::text
