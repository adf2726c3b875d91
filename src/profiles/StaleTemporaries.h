#pragma once

#include "platform/Paths.h"

#include <cstddef>

namespace quillmar::profiles {

// At start: the temporaries a save killed mid-write left in the per-user
// folder (with its subfolders, such as the backups) and beside the per-user
// settings file, and the backups left half made. Returns the number of
// temporary files removed.
std::size_t removeStaleSaveTemporaries(const platform::Paths& paths);

}  // namespace quillmar::profiles
