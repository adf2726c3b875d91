#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "hidlane/hidlane.h"

namespace quillmar::sim {

// The delivery thread of one standing read: events posted to it reach its
// callback on this thread only, one at a time, in the order of their due
// times (equal times in posting order), never from inside the poster's call.
class CallbackLane {
public:
    using Clock = std::chrono::steady_clock;

    CallbackLane(HidlaneCallback callback, std::uint32_t tag);
    ~CallbackLane();
    CallbackLane(const CallbackLane&) = delete;
    CallbackLane& operator=(const CallbackLane&) = delete;

    void postData(std::vector<std::uint8_t> bytes, Clock::time_point due);
    void postDeviceCount(std::uint32_t count);
    // Forgets the data events not yet delivered (the device went away).
    void discardPendingData();
    // After it returns the callback is not called again. Called from the
    // lane's own callback it only stops further deliveries.
    void stop();

    HidlaneCallback callback() const { return callback_; }

private:
    struct State;
    static void run(std::shared_ptr<State> state);

    const HidlaneCallback callback_;
    std::shared_ptr<State> state_;
    std::thread worker_;
};

}  // namespace quillmar::sim
