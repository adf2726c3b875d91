#pragma once

#include <string>
#include <string_view>

namespace quillmar::text {

// Text conversion between the UTF-8 of files and the UTF-16 of records,
// names and the string table. Malformed input never fails: each broken
// sequence (or lone surrogate) becomes U+FFFD.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// The longest prefix of utf8 that takes at most maxUnits UTF-16 code units,
// never cutting a character in half.
std::string_view utf8PrefixWithin(std::string_view utf8, std::size_t maxUnits);

}  // namespace quillmar::text
