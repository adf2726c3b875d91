#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quillmar::shell {

// The thread of Apply's busy indicator: it only asks the window to show and
// hide the indicator, so that the request reaches the window while the
// window thread is busy downloading. Without a thread the requests are made
// directly.
class BusyIndicator {
public:
    // Asks the window to show (true) or hide (false) the indicator; called on
    // the indicator's thread, so it must post.
    using Request = std::function<void(bool shown)>;

    explicit BusyIndicator(Request request, std::chrono::milliseconds settle = std::chrono::milliseconds(100));
    ~BusyIndicator();
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

    // Waits the settle time, then has the thread ask for the indicator;
    // returns once it has asked.
    void show();
    // The thread waits the settle time, asks to hide the indicator and ends.
    void hide();

private:
    enum class Step { Start, Show, Shown, Hide, Done };

    void run();
    void advance(Step step);
    void waitFor(Step step);

    Request request_;
    std::chrono::milliseconds settle_;
    std::mutex mutex_;
    std::condition_variable changed_;
    Step step_ = Step::Start;
    std::thread thread_;
};

}  // namespace quillmar::shell
