#include "platform/PrivateFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quillmar::platform {

bool preparePrivateFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) return false;
    return S_ISDIR(status.st_mode) && status.st_uid == ::getuid() &&
           (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace quillmar::platform
