#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillmar::platform {

struct ProcessEntry {
    int pid = 0;
    std::string executableName;  // file name only
};

// The running processes.
class ProcessList {
public:
    virtual ~ProcessList() = default;
    virtual std::vector<ProcessEntry> snapshot() const = 0;
    virtual int currentProcessId() const = 0;
};

// The id of a running process, other than the calling one, whose executable
// name equals the given one ignoring case; 0 when there is none.
int FindRunningInstance(const ProcessList& processes, std::string_view executableName);

}  // namespace quillmar::platform
