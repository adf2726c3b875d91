#pragma once

#include <chrono>

namespace quillmar::device {

// The fixed pauses of the device link. The defaults are the keyboard's; tests
// shorten them.
struct LinkTiming {
    std::chrono::milliseconds answerWait{1000};     // per attempt
    std::chrono::milliseconds retryPause{10};       // between attempts
    std::chrono::milliseconds busyPause{1001};      // when another transaction still waits
    std::chrono::milliseconds endUpdatePause{10};   // before EndUpdate goes out
    std::chrono::milliseconds initialisedPoll{50};  // presence check waiting for the window
    std::chrono::milliseconds indicatorPoll{1};     // tray indicator waiting for its turn
};

}  // namespace quillmar::device
