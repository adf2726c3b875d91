#include "device/KeyboardLock.h"

#include "platform/LinuxPaths.h"
#include "platform/PrivateFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace quillmar::device {
namespace {

// Guards of this process: the thread holding the mutex owns the file lock.
std::recursive_mutex gProcessMutex;
int gDepth = 0;
int gLockFd = -1;

int takeFileLock() {
    const std::filesystem::path file = keyboardLockFile();
    if (!platform::preparePrivateFolder(file.parent_path())) return -1;
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result == 0) return fd;
    ::close(fd);
    return -1;
}

}  // namespace

std::filesystem::path keyboardLockFile() {
    return platform::LinuxPaths().runtimeFolder() / kKeyboardLockName;
}

KeyboardLock::KeyboardLock() {
    gProcessMutex.lock();
    if (gDepth++ == 0) gLockFd = takeFileLock();
    shared_ = gLockFd >= 0;
}

KeyboardLock::~KeyboardLock() {
    if (--gDepth == 0 && gLockFd >= 0) {
        ::close(gLockFd);  // gives the flock back
        gLockFd = -1;
    }
    gProcessMutex.unlock();
}

}  // namespace quillmar::device
