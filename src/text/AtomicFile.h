#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

namespace quillmar::text {

// Replaces the file at `target` with `content` so that a reader, a crash or a
// full disk never sees half a file: the content goes to a temporary file in
// the same folder, is flushed to disk, and is renamed over the target in one
// step. An existing target keeps its permission bits; a new one gets the
// usual ones for the user (0666 less the umask). The folder must exist.
// Returns false, leaving the old file untouched, when any step fails.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view content);

// Removes the temporary files writeFileAtomically leaves behind when its
// process is killed mid-write, in folder and the folders below it (symbolic
// links are not followed). A temporary whose writer is still running may be
// about to become the file and is kept. Returns the number removed; a
// missing or unreadable folder removes nothing.
std::size_t removeStaleTemporaries(const std::filesystem::path& folder);

// The same for the temporaries of one file only, beside it: for a file in a
// folder that other programs share.
std::size_t removeStaleTemporariesOf(const std::filesystem::path& file);

// What the name of one of writeFileAtomically's temporaries tells.
struct AtomicTemporary {
    std::string_view target;  // the file's name
    long writerPid = 0;
};
std::optional<AtomicTemporary> parseAtomicTemporaryName(std::string_view name);

}  // namespace quillmar::text
