#pragma once

#include <filesystem>

namespace quillmar::platform {

// Starts the companion program, which runs on its own; the program never
// talks to it.
class CompanionStarter {
public:
    virtual ~CompanionStarter() = default;
    // False when the program is missing or could not be started.
    virtual bool start(const std::filesystem::path& program) = 0;
};

}  // namespace quillmar::platform
