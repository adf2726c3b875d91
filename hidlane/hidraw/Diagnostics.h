// What the library says on stderr: everything at Debug level > 0, and at any level once per
// keyboard the one thing a user must act on, a keyboard node they may not open.
#pragma once

#include <atomic>
#include <mutex>
#include <cstdint>
#include <set>
#include <span>
#include <string>

namespace quillmar::hidraw {

struct HidrawNode;

class Diagnostics {
public:
    int setLevel(int level) { return level_.exchange(level); }
    int level() const { return level_.load(); }

    void note(const std::string& text) const;
    // At level 2 and above, every report in hex: direction "<" read from, ">" written to a node.
    void report(const char* direction, const std::string& devNode, std::span<const uint8_t> bytes) const;
    // Reports an open that failed; permission problems are reported even when quiet.
    void openFailed(const HidrawNode& node, int error);

private:
    std::atomic<int> level_{0};
    std::mutex mutex_;
    std::set<std::string> toldAbout_;
};

// The sentence that tells a user why a keyboard node cannot be used and what to do.
std::string permissionAdvice(const std::string& devNode);

} // namespace quillmar::hidraw
