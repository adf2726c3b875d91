#pragma once

#include <filesystem>
#include <string_view>

namespace quillmar::text {

// Replaces the file at `target` with `content` so that a reader, a crash or a
// full disk never sees half a file: the content goes to a temporary file in
// the same folder, is flushed to disk, and is renamed over the target in one
// step. An existing target keeps its permission bits; a new one gets the
// usual ones for the user (0666 less the umask). The folder must exist.
// Returns false, leaving the old file untouched, when any step fails.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view content);

}  // namespace quillmar::text
