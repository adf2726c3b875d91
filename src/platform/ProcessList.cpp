#include "platform/ProcessList.h"

#include <algorithm>
#include <cctype>

namespace quillmar::platform {
namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

}  // namespace

int FindRunningInstance(const ProcessList& processes, std::string_view executableName) {
    const int self = processes.currentProcessId();
    for (const ProcessEntry& entry : processes.snapshot()) {
        if (entry.pid > 0 && entry.pid != self &&
            equalIgnoringCase(entry.executableName, executableName)) {
            return entry.pid;
        }
    }
    return 0;
}

}  // namespace quillmar::platform
