#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace quillmar::text {

enum class SettingsFileEncoding { Utf8, Utf8WithBom, Utf16LeWithBom };

// A settings file's text as UTF-8, with the encoding it is stored in so a
// write can keep it.
struct SettingsFileText {
    std::string text;
    SettingsFileEncoding encoding = SettingsFileEncoding::Utf8;
};

// Larger files are treated as damaged: no settings file comes near this.
inline constexpr std::uintmax_t kMaxSettingsFileSize = 8u << 20;

// The file's text; empty for a missing file (which reads like a file without
// sections); nothing when the file exists but cannot be read, is not a
// regular file, or is larger than kMaxSettingsFileSize.
std::optional<SettingsFileText> loadSettingsFileText(const std::filesystem::path& file);

// The bytes to store: the text in its encoding, byte order mark included.
std::string encodeSettingsFileText(const SettingsFileText& contents);

}  // namespace quillmar::text
