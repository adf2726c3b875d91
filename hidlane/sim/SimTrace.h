#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace quillmar::sim {

// What the keyboard saw and said, one line per report:
//   "> " request bytes, "< " answer bytes (uppercase hex, space separated),
//   "! CONS xxxx" for a notice, "= count N" for a device-count change.
// The recent lines stay in memory for tests; with a file open every line is
// also appended to it and flushed at once.
class SimTrace {
public:
    SimTrace() = default;
    ~SimTrace();
    SimTrace(const SimTrace&) = delete;
    SimTrace& operator=(const SimTrace&) = delete;

    // Appends to the file from now on; an empty path or a failed open only closes.
    void openFile(const std::filesystem::path& path);
    void closeFile();
    void setEchoToStderr(bool echo);

    void request(std::span<const std::uint8_t> bytes);
    void answer(std::span<const std::uint8_t> bytes);
    void notice(std::uint16_t code);
    void deviceCount(int count);

    std::vector<std::string> recentLines() const;
    void clear();

private:
    void append(std::string line);

    static constexpr std::size_t kRecentLimit = 4096;
    mutable std::mutex mutex_;
    std::FILE* file_ = nullptr;
    bool echo_ = false;
    std::deque<std::string> recent_;
};

// "prefix" followed by the bytes as " XX" each.
std::string traceHexLine(std::string_view prefix, std::span<const std::uint8_t> bytes);

}  // namespace quillmar::sim
