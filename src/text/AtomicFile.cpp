#include "text/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>

namespace quillmar::text {
namespace {

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A new file is created with 0666 so the kernel applies the umask; an
// existing target's bits are carried over.
bool keepExistingMode(int fd, const std::filesystem::path& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) != 0) return true;
    return ::fchmod(fd, existing.st_mode & 07777) == 0;
}

// A fresh file beside the target, named so that it is hidden and cannot clash
// with another writer (O_EXCL, several tries).
int createTemporary(const std::filesystem::path& folder, const std::string& name,
                    std::filesystem::path& created) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 16; ++attempt) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        created = folder / ("." + name + "." + std::to_string(::getpid()) + "." +
                            std::to_string(counter++) + "." + std::to_string(stamp % 1000000) +
                            ".tmp");
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Makes the rename itself durable; failure here loses nothing already written.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& target, std::string_view content) {
    if (target.filename().empty()) return false;
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::filesystem::path temporary;
    const int fd = createTemporary(folder, target.filename().string(), temporary);
    if (fd < 0) return false;
    const bool written = keepExistingMode(fd, target) && writeAll(fd, content) &&
                         ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

}  // namespace quillmar::text
