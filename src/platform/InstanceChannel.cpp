#include "platform/InstanceChannel.h"

#include "device/WindowMessages.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace quillmar::platform {

namespace {
constexpr std::uint32_t kReloadFromAnotherProgram = 1;
}  // namespace

InstanceMessage messageFor(InstanceRequest request) {
    if (request == InstanceRequest::Close) return {device::kMessageKill, device::kTagKill, 0};
    if (request == InstanceRequest::Reload) return {device::kMessageReloadProfile, device::kTagProf, kReloadFromAnotherProgram};
    return {device::kMessageOpen, device::kTagOpen, 0};
}

bool isInstanceRequest(const InstanceMessage& message) {
    return message == messageFor(InstanceRequest::Show) || message == messageFor(InstanceRequest::Close) ||
           message == messageFor(InstanceRequest::Reload);
}

std::vector<int> instanceSocketPids(const std::filesystem::path& runtimeFolder) {
    constexpr std::string_view kPrefix = "Quillmar_Main_";
    std::vector<int> pids;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(runtimeFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kPrefix)) continue;
        const std::string_view digits = std::string_view(name).substr(kPrefix.size());
        int pid = 0;
        const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
        if (failure == std::errc() && end == digits.data() + digits.size() && pid > 0) pids.push_back(pid);
    }
    std::ranges::sort(pids);
    return pids;
}

std::filesystem::path instanceSocketPath(const std::filesystem::path& runtimeFolder, int pid) {
    return runtimeFolder / ("Quillmar_Main_" + std::to_string(pid));
}

}  // namespace quillmar::platform
