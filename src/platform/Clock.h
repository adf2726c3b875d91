#pragma once

#include <cstdint>

namespace quillmar::platform {

// Monotonic milliseconds, the program's tick count. Replaceable so tests can
// drive time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint64_t nowMs() const = 0;
};

class SteadyClock final : public Clock {
public:
    std::uint64_t nowMs() const override;
};

class FakeClock final : public Clock {
public:
    std::uint64_t nowMs() const override { return now_; }
    void advance(std::uint64_t ms) { now_ += ms; }
    void set(std::uint64_t ms) { now_ = ms; }

private:
    std::uint64_t now_ = 0;
};

}  // namespace quillmar::platform
