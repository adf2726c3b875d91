#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace quillmar::device {

// Short-lived worker threads that are joined, never detached: finished ones
// are reaped when the next starts, and joinAll waits for the rest.
class WorkerThreads {
public:
    WorkerThreads() = default;
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;
    ~WorkerThreads() { joinAll(); }

    void start(std::function<void()> work);
    void joinAll();

private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    std::mutex mutex_;
    std::list<Worker> workers_;
};

}  // namespace quillmar::device
