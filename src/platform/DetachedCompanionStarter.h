#pragma once

#include "platform/CompanionStarter.h"

namespace quillmar::platform {

// Starts an executable file with no arguments in a session of its own, with
// its standard streams on /dev/null; its exit status is collected so it never
// lingers as a zombie.
class DetachedCompanionStarter final : public CompanionStarter {
public:
    bool start(const std::filesystem::path& program) override;
};

}  // namespace quillmar::platform
