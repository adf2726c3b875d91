#include "platform/ProcFsProcessList.h"

#include <unistd.h>

#include <charconv>
#include <optional>
#include <string_view>

namespace quillmar::platform {
namespace {

std::optional<int> processId(const std::string& name) {
    int pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end != name.data() + name.size() || pid <= 0) return std::nullopt;
    return pid;
}

// The file name of a process's executable; a replaced or deleted file still
// counts under its old name.
std::optional<std::string> executableName(const std::filesystem::path& processFolder) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(processFolder / "exe", error);
    if (error) return std::nullopt;
    std::string name = target.filename().string();
    constexpr std::string_view kDeleted = " (deleted)";
    if (name.ends_with(kDeleted)) name.resize(name.size() - kDeleted.size());
    if (name.empty()) return std::nullopt;
    return name;
}

}  // namespace

ProcFsProcessList::ProcFsProcessList(std::filesystem::path procFolder)
    : procFolder_(std::move(procFolder)) {}

std::vector<ProcessEntry> ProcFsProcessList::snapshot() const {
    std::vector<ProcessEntry> processes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(procFolder_, error)) {
        const std::optional<int> pid = processId(entry.path().filename().string());
        if (!pid) continue;
        if (auto name = executableName(entry.path())) processes.push_back({*pid, std::move(*name)});
    }
    return processes;
}

int ProcFsProcessList::currentProcessId() const { return static_cast<int>(::getpid()); }

}  // namespace quillmar::platform
