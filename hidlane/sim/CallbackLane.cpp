#include "hidlane/sim/CallbackLane.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <utility>

#include <sys/prctl.h>

namespace quillmar::sim {

struct CallbackLane::State {
    struct Event {
        std::uint32_t kind;
        std::uint32_t count;
        std::vector<std::uint8_t> bytes;
    };
    using Key = std::pair<Clock::time_point, std::uint64_t>;

    HidlaneCallback callback;
    std::uint32_t tag;
    std::mutex mutex;
    std::condition_variable changed;
    std::map<Key, Event> pending;
    std::uint64_t nextSequence = 0;
    bool stopping = false;

    void post(Clock::time_point due, Event event) {
        {
            std::lock_guard lock(mutex);
            if (stopping) return;
            pending.emplace(Key{due, nextSequence++}, std::move(event));
        }
        changed.notify_all();
    }

    void deliver(const Event& event) const {
        const HidlaneRequestRecord record{tag,
                                          event.kind == HIDLANE_EVENT_DATA
                                              ? static_cast<std::uint32_t>(event.bytes.size())
                                              : event.count,
                                          event.kind == HIDLANE_EVENT_DATA ? event.bytes.data() : nullptr};
        const HidlaneEvent hidEvent{event.kind, &record};
        callback(&hidEvent);
    }
};

CallbackLane::CallbackLane(HidlaneCallback callback, std::uint32_t tag)
    : callback_(callback), state_(std::make_shared<State>()) {
    state_->callback = callback;
    state_->tag = tag;
    worker_ = std::thread(run, state_);
}

CallbackLane::~CallbackLane() { stop(); }

void CallbackLane::postData(std::vector<std::uint8_t> bytes, Clock::time_point due) {
    state_->post(due, {HIDLANE_EVENT_DATA, 0, std::move(bytes)});
}

void CallbackLane::postDeviceCount(std::uint32_t count) {
    state_->post(Clock::now(), {HIDLANE_EVENT_DEVICE_COUNT, count, {}});
}

void CallbackLane::discardPendingData() {
    std::lock_guard lock(state_->mutex);
    std::erase_if(state_->pending, [](const auto& entry) { return entry.second.kind == HIDLANE_EVENT_DATA; });
}

void CallbackLane::stop() {
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
        state_->pending.clear();
    }
    state_->changed.notify_all();
    if (!worker_.joinable()) return;
    // The worker owns its state, so it may finish the running callback on its own.
    if (worker_.get_id() == std::this_thread::get_id())
        worker_.detach();
    else
        worker_.join();
}

// How long before an answer is due the lane stops sleeping and watches the
// clock: a sleeping thread wakes tens of microseconds late on a busy or
// virtual machine, a keyboard does not.
constexpr std::chrono::microseconds kSpinBeforeDue{100};

void CallbackLane::run(std::shared_ptr<State> state) {
    // A keyboard answers on its USB frame, not 50 us late as the kernel's
    // default timer slack would make this thread.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    std::unique_lock lock(state->mutex);
    while (!state->stopping) {
        if (state->pending.empty()) {
            state->changed.wait(lock);
            continue;
        }
        auto first = state->pending.begin();
        const auto due = first->first.first;
        if (Clock::now() < due - kSpinBeforeDue) {
            state->changed.wait_until(lock, due - kSpinBeforeDue);
            continue;
        }
        while (Clock::now() < due) {
            lock.unlock();
            std::this_thread::yield();
            lock.lock();
        }
        State::Event event = std::move(first->second);
        state->pending.erase(first);
        lock.unlock();
        state->deliver(event);
        lock.lock();
    }
}

}  // namespace quillmar::sim
