#include "text/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <limits>
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

constexpr std::string_view kTemporarySuffix = ".tmp";

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Cuts the last ".<digits>" off name into field.
bool takeNumberField(std::string_view& name, std::string_view& field) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    field = name.substr(dot + 1);
    name = name.substr(0, dot);
    return allDigits(field);
}

// EPERM: the process exists but belongs to someone else.
bool processRunning(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

// A regular file only (a link is left alone), of target when one is named.
bool removeIfStale(const std::filesystem::directory_entry& entry, std::string_view target) {
    std::error_code ignored;
    if (entry.symlink_status(ignored).type() != std::filesystem::file_type::regular) return false;
    const std::string name = entry.path().filename().string();
    const auto temporary = parseAtomicTemporaryName(name);
    if (!temporary || (!target.empty() && temporary->target != target) || processRunning(temporary->writerPid))
        return false;
    return std::filesystem::remove(entry.path(), ignored);
}

}  // namespace

std::optional<AtomicTemporary> parseAtomicTemporaryName(std::string_view name) {
    if (name.size() <= kTemporarySuffix.size() + 1 || name.front() != '.' || !name.ends_with(kTemporarySuffix))
        return std::nullopt;
    name.remove_prefix(1);
    name.remove_suffix(kTemporarySuffix.size());
    std::string_view stamp, counter, pid;
    if (!takeNumberField(name, stamp) || !takeNumberField(name, counter) || !takeNumberField(name, pid))
        return std::nullopt;
    AtomicTemporary temporary{name};
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), temporary.writerPid);
    if (name.empty() || error != std::errc{} || end != pid.data() + pid.size() || temporary.writerPid <= 0 ||
        temporary.writerPid > std::numeric_limits<pid_t>::max())
        return std::nullopt;
    return temporary;
}

std::size_t removeStaleTemporaries(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::recursive_directory_iterator entries(folder, fs::directory_options::skip_permission_denied, error);
    std::size_t removed = 0;
    for (; !error && entries != fs::recursive_directory_iterator(); entries.increment(error))
        removed += removeIfStale(*entries, {}) ? 1 : 0;
    return removed;
}

std::size_t removeStaleTemporariesOf(const std::filesystem::path& file) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    fs::directory_iterator entries(folder, fs::directory_options::skip_permission_denied, error);
    std::size_t removed = 0;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error))
        removed += removeIfStale(*entries, file.filename().string()) ? 1 : 0;
    return removed;
}

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
