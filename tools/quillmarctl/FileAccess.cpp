#include "FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillmar::ctl {

std::optional<std::string> whyUnreadable(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    struct stat status {};
    const bool isFolder = ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
    ::close(fd);
    if (isFolder) return std::strerror(EISDIR);
    return std::nullopt;
}

std::optional<std::string> whyUnwritable(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return std::strerror(EISDIR);
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    if (::stat(folder.c_str(), &status) != 0) return std::strerror(errno);
    if (!S_ISDIR(status.st_mode)) return std::strerror(ENOTDIR);
    if (::access(folder.c_str(), W_OK) != 0) return std::strerror(errno);
    return std::nullopt;
}

}  // namespace quillmar::ctl
