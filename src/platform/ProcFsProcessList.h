#pragma once

#include "platform/ProcessList.h"

#include <filesystem>

namespace quillmar::platform {

// The processes under /proc whose executable the user may read (in practice
// the user's own): only those can be asked anything through the user's
// runtime folder.
class ProcFsProcessList final : public ProcessList {
public:
    explicit ProcFsProcessList(std::filesystem::path procFolder = "/proc");

    std::vector<ProcessEntry> snapshot() const override;
    int currentProcessId() const override;

private:
    std::filesystem::path procFolder_;
};

}  // namespace quillmar::platform
