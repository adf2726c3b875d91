#pragma once

#include "platform/InstanceMutex.h"

#include <filesystem>

namespace quillmar::platform {

inline constexpr const char* kInstanceMutexName = "Quillmar_Mutex_09A";

// The instance mutex as an exclusive flock on a file of that name in the
// user's runtime folder. The lock, not the file, is the object: a file left
// behind by a crashed process exists without a holder and counts as absent.
class LockFileMutex final : public InstanceMutex {
public:
    explicit LockFileMutex(std::filesystem::path runtimeFolder);
    ~LockFileMutex() override;
    LockFileMutex(const LockFileMutex&) = delete;
    LockFileMutex& operator=(const LockFileMutex&) = delete;

    bool open() override;
    bool create() override;
    void close() override;

    bool isHeld() const { return held_; }

private:
    bool openFile();

    std::filesystem::path file_;
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace quillmar::platform
