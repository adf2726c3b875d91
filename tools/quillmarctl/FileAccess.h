#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quillmar::ctl {

// Why the file cannot be read ("No such file or directory", "Is a
// directory", ...); nothing when it can.
std::optional<std::string> whyUnreadable(const std::filesystem::path& file);

// Why a file cannot be written at the path: its folder is missing or not
// writable, or the path names a folder; nothing when it can be.
std::optional<std::string> whyUnwritable(const std::filesystem::path& file);

}  // namespace quillmar::ctl
