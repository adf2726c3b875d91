#include "platform/InstanceChannel.h"

#include "device/WindowMessages.h"

#include <string>

namespace quillmar::platform {

InstanceMessage messageFor(InstanceRequest request) {
    if (request == InstanceRequest::Close) return {device::kMessageKill, device::kTagKill, 0};
    return {device::kMessageOpen, device::kTagOpen, 0};
}

bool isInstanceRequest(const InstanceMessage& message) {
    return message == messageFor(InstanceRequest::Show) ||
           message == messageFor(InstanceRequest::Close);
}

std::filesystem::path instanceSocketPath(const std::filesystem::path& runtimeFolder, int pid) {
    return runtimeFolder / ("Quillmar_Main_" + std::to_string(pid));
}

}  // namespace quillmar::platform
