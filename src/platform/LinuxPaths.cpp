#include "platform/LinuxPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <vector>

namespace quillmar::platform {
namespace {

std::optional<std::string> processVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::filesystem::path homeFromPasswordDatabase() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir) {
        return found->pw_dir;
    }
    return "/";
}

// The path of an entry line `XDG_DOCUMENTS_DIR="$HOME/Documents"`; nothing
// for other lines or values that are neither absolute nor under $HOME.
std::optional<std::filesystem::path> documentsEntry(std::string_view line,
                                                    const std::filesystem::path& home) {
    constexpr std::string_view kPrefix = "XDG_DOCUMENTS_DIR=\"";
    if (!line.starts_with(kPrefix) || !line.ends_with('"')) return std::nullopt;
    std::string_view value = line.substr(kPrefix.size(), line.size() - kPrefix.size() - 1);
    constexpr std::string_view kHome = "$HOME";
    if (value.starts_with(kHome)) {
        value.remove_prefix(kHome.size());
        while (value.starts_with('/')) value.remove_prefix(1);
        return value.empty() ? home : home / value;
    }
    if (value.starts_with('/')) return std::filesystem::path(value);
    return std::nullopt;
}

}  // namespace

std::filesystem::path runningExecutable() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable;
}

LinuxPaths::LinuxPaths() : LinuxPaths(processVariable) {}

LinuxPaths::LinuxPaths(Environment environment) : environment_(std::move(environment)) {}

std::filesystem::path LinuxPaths::programDirectory() const {
    const std::filesystem::path executable = runningExecutable();
    std::error_code error;
    return executable.empty() ? std::filesystem::current_path(error) : executable.parent_path();
}

std::filesystem::path LinuxPaths::documentsFolder() const {
    if (auto folder = absoluteVariable("XDG_DOCUMENTS_DIR")) return *folder;
    if (auto folder = documentsFromUserDirs()) return *folder;
    return homeFolder() / "Documents";
}

std::filesystem::path LinuxPaths::configFolder() const {
    if (auto folder = absoluteVariable("XDG_CONFIG_HOME")) return *folder;
    return homeFolder() / ".config";
}

std::filesystem::path LinuxPaths::runtimeFolder() const {
    if (auto folder = absoluteVariable("XDG_RUNTIME_DIR")) return *folder;
    // /tmp is shared by every user: each gets a folder of their own in it.
    return std::filesystem::path("/tmp") / ("quillmar-" + std::to_string(::getuid()));
}

std::optional<std::filesystem::path> LinuxPaths::absoluteVariable(const char* name) const {
    const std::optional<std::string> value = environment_(name);
    if (!value || value->empty() || value->front() != '/') return std::nullopt;
    return std::filesystem::path(*value);
}

std::filesystem::path LinuxPaths::homeFolder() const {
    if (auto home = absoluteVariable("HOME")) return *home;
    return homeFromPasswordDatabase();
}

std::optional<std::filesystem::path> LinuxPaths::documentsFromUserDirs() const {
    std::ifstream file(configFolder() / "user-dirs.dirs");
    const std::filesystem::path home = homeFolder();
    std::optional<std::filesystem::path> found;
    for (std::string line; std::getline(file, line);) {
        if (auto entry = documentsEntry(line, home)) found = entry;  // the last one counts
    }
    return found;
}

}  // namespace quillmar::platform
