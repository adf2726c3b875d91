#pragma once

#include <filesystem>

namespace quillmar::platform {

// Makes sure a folder for the user's own lock files and sockets exists, is a
// real folder (not a link), belongs to the user and is writable by nobody
// else; creates it with mode 0700 when missing. False when it cannot be
// trusted or made.
bool preparePrivateFolder(const std::filesystem::path& folder);

}  // namespace quillmar::platform
