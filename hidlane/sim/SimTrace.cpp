#include "hidlane/sim/SimTrace.h"


namespace quillmar::sim {

std::string traceHexLine(std::string_view prefix, std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line(prefix);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) line += ' ';
        line += kDigits[bytes[i] >> 4];
        line += kDigits[bytes[i] & 0x0F];
    }
    return line;
}

SimTrace::~SimTrace() { closeFile(); }

void SimTrace::openFile(const std::filesystem::path& path) {
    std::lock_guard lock(mutex_);
    if (file_) std::fclose(file_);
    file_ = path.empty() ? nullptr : std::fopen(path.c_str(), "a");
}

void SimTrace::closeFile() {
    std::lock_guard lock(mutex_);
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

void SimTrace::setEchoToStderr(bool echo) {
    std::lock_guard lock(mutex_);
    echo_ = echo;
}

void SimTrace::request(std::span<const std::uint8_t> bytes) { append(traceHexLine("> ", bytes)); }

void SimTrace::answer(std::span<const std::uint8_t> bytes) { append(traceHexLine("< ", bytes)); }

void SimTrace::notice(std::uint16_t code) {
    char line[16];
    std::snprintf(line, sizeof line, "! CONS %04X", static_cast<unsigned>(code));
    append(line);
}

void SimTrace::deviceCount(int count) { append("= count " + std::to_string(count)); }

std::vector<std::string> SimTrace::recentLines() const {
    std::lock_guard lock(mutex_);
    return {recent_.begin(), recent_.end()};
}

void SimTrace::clear() {
    std::lock_guard lock(mutex_);
    recent_.clear();
}

void SimTrace::append(std::string line) {
    std::lock_guard lock(mutex_);
    if (file_) {
        std::fputs(line.c_str(), file_);
        std::fputc('\n', file_);
        std::fflush(file_);
    }
    if (echo_) std::fprintf(stderr, "hidlane-sim %s\n", line.c_str());
    recent_.push_back(std::move(line));
    if (recent_.size() > kRecentLimit) recent_.pop_front();
}

}  // namespace quillmar::sim
