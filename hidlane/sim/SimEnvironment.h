#pragma once

#include <cstdlib>
#include <filesystem>

namespace quillmar::sim {

// A path named by an environment variable; empty when unset or empty.
inline std::filesystem::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace quillmar::sim
