#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

namespace quillmar::testing {

// Runs a function in a forked child; its result is the child's exit code.
// A child still running when the test ends is killed.
class ChildProcess {
public:
    explicit ChildProcess(const std::function<int()>& body) : pid_(::fork()) {
        if (pid_ == 0) ::_exit(body());
    }
    ~ChildProcess() {
        if (pid_ > 0 && !finished_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // The exit code; -1 when the child did not exit normally.
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        finished_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // True once the child has ended; its exit code is then in `code`.
    bool hasEnded(int& code) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
        finished_ = true;
        code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
    }

private:
    pid_t pid_;
    bool finished_ = false;
};

// Polls `done` until it holds or the time is up.
inline bool eventually(const std::function<bool()>& done,
                       std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace quillmar::testing
