#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillmar::text {

// Settings text files ("INI" files): the program's language file, skin files,
// ktvl.ini, the ".userd" colour schemes and the per-user settings store.
//
// Format:
// - "[name]" opens a section; the name ends at the first ']' (or the line's
//   end), blanks around it do not count. "key=value" gives a value; blanks
//   around key and value do not count, and one pair of matching quotes ('' or
//   "") around the value is removed, so a value can keep outer blanks.
// - Section and key names are compared without regard to ASCII letter case.
// - A line without '=', a line starting with ';', and lines before the first
//   section carry nothing; they are kept as they are.
// - A duplicate key: the first one in the file counts, and a write changes it.
// - A duplicate section: its blocks form one section; a key is looked up in
//   them in file order.
// - UTF-8, with or without a byte order mark; a UTF-16LE file with its byte
//   order mark is read too, and written back as UTF-16LE. LF or CRLF lines.
//
// Nothing is cached: every call reads the file by path.

// A value is read as at most this many UTF-16 code units (a character is
// never cut in half).
inline constexpr std::size_t kMaxIniValueLength = 259;

// The value of key in section, or defaultValue (cut to the same length) when
// the file, the section or the key is missing or the file cannot be read.
std::string readIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view defaultValue);

// The value read with defaultValue written as "%d", then its leading decimal
// number (0 when it has none).
int readIniNumber(const std::filesystem::path& file, std::string_view section,
                  std::string_view key, int defaultValue);

// Sets key in section to value, creating the file, the section and the key as
// needed; every other line stays exactly as it was, and the file is replaced
// atomically. Returns false (file untouched) when the file cannot be read or
// written, or when a name or the value could not be read back as written: a
// line break anywhere, ']' in the section, '=' in the key, or a key starting
// with '[' or ';'.
bool writeIniString(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view value);

// Writes value as "%d".
bool writeIniNumber(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, int value);


// The same reading and writing on settings text already in memory (UTF-8),
// for a caller that edits many values and stores the file once.
std::string readIniText(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view defaultValue);
// False (text unchanged) for names or a value that could not be read back.
bool writeIniText(std::string& text, std::string_view section, std::string_view key, std::string_view value);

}  // namespace quillmar::text
