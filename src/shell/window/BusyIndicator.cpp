#include "shell/window/BusyIndicator.h"

#include <system_error>

namespace quillmar::shell {

BusyIndicator::BusyIndicator(Request request, std::chrono::milliseconds settle)
    : request_(std::move(request)), settle_(settle) {
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread: show() and hide() ask directly.
    }
}

BusyIndicator::~BusyIndicator() {
    hide();
    if (thread_.joinable()) thread_.join();
}

void BusyIndicator::show() {
    std::this_thread::sleep_for(settle_);
    if (!thread_.joinable()) {
        request_(true);
        return;
    }
    advance(Step::Show);
    waitFor(Step::Shown);
}

void BusyIndicator::hide() {
    {
        std::lock_guard lock(mutex_);
        if (step_ == Step::Hide || step_ == Step::Done) return;
    }
    if (!thread_.joinable()) {
        request_(false);
        advance(Step::Done);
        return;
    }
    advance(Step::Hide);
}

void BusyIndicator::run() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return step_ == Step::Show || step_ == Step::Hide; });
    if (step_ == Step::Show) {
        request_(true);
        step_ = Step::Shown;
        changed_.notify_all();
        changed_.wait(lock, [this] { return step_ == Step::Hide; });
    }
    lock.unlock();
    std::this_thread::sleep_for(settle_);
    request_(false);
    lock.lock();
    step_ = Step::Done;
    changed_.notify_all();
}

void BusyIndicator::advance(Step step) {
    std::lock_guard lock(mutex_);
    step_ = step;
    changed_.notify_all();
}

void BusyIndicator::waitFor(Step step) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this, step] { return step_ == step; });
}

}  // namespace quillmar::shell
