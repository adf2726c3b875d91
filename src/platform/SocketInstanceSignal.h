#pragma once

#include "platform/InstanceChannel.h"

#include <chrono>
#include <filesystem>

namespace quillmar::platform {

// Sends a request over the target's local socket and waits until its window
// has handled it (or the answer timeout passes). A socket file nobody listens
// on is left over from an ended process and is removed.
class SocketInstanceSignal final : public InstanceSignal {
public:
    explicit SocketInstanceSignal(std::filesystem::path runtimeFolder,
                                  std::chrono::milliseconds answerTimeout = std::chrono::seconds(10));

    bool SignalInstance(int pid, InstanceRequest request) override;
    int SignalRunningInstance(InstanceRequest request) override;

private:
    std::filesystem::path runtimeFolder_;
    std::chrono::milliseconds answerTimeout_;
};

}  // namespace quillmar::platform
