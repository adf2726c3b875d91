#include "device/WorkerThreads.h"

namespace quillmar::device {

void WorkerThreads::start(std::function<void()> work) {
    std::list<Worker> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = workers_.begin(); it != workers_.end();) {
            auto next = std::next(it);
            if (it->finished->load()) finished.splice(finished.end(), workers_, it);
            it = next;
        }
        auto flag = std::make_shared<std::atomic<bool>>(false);
        workers_.push_back({std::thread([work = std::move(work), flag] {
                                work();
                                flag->store(true);
                            }),
                            flag});
    }
    for (auto& worker : finished) worker.thread.join();
}

void WorkerThreads::joinAll() {
    for (;;) {
        std::list<Worker> running;
        {
            std::lock_guard lock(mutex_);
            running.swap(workers_);
        }
        if (running.empty()) return;
        for (auto& worker : running) worker.thread.join();
    }
}

}  // namespace quillmar::device
