#include "platform/LockFileMutex.h"

#include "platform/PrivateFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quillmar::platform {

LockFileMutex::LockFileMutex(std::filesystem::path runtimeFolder)
    : file_(std::move(runtimeFolder) / kInstanceMutexName) {}

LockFileMutex::~LockFileMutex() { close(); }

// Trying the lock answers "does it exist" and, when nobody holds it, takes it
// in the same step, so two starts can never both find it absent.
bool LockFileMutex::open() {
    if (held_) return false;
    if (fd_ < 0 && !openFile()) return false;
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
        return false;
    }
    return true;
}

bool LockFileMutex::create() {
    if (!held_ && open()) return false;
    return held_;
}

void LockFileMutex::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    held_ = false;
}

bool LockFileMutex::openFile() {
    if (!preparePrivateFolder(file_.parent_path())) return false;
    fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    return fd_ >= 0;
}

}  // namespace quillmar::platform
