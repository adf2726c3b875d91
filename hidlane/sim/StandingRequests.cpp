#include "hidlane/sim/StandingRequests.h"

#include <algorithm>
#include <iterator>

namespace quillmar::sim {

StandingRequests::~StandingRequests() { removeAll(); }

std::uint32_t StandingRequests::takeUnitId() {
    if (++lastUnitId_ == 0) ++lastUnitId_;  // 0 means "no request"
    return lastUnitId_;
}

StandingRequests::Read StandingRequests::addRead(SimInterface where, HidlaneCallback callback,
                                                 std::uint32_t tag) {
    auto lane = std::make_shared<CallbackLane>(callback, tag);
    std::lock_guard lock(mutex_);
    const std::uint32_t unitId = takeUnitId();
    entries_.push_back({unitId, where, callback, lane});
    return {unitId, lane};
}

std::uint32_t StandingRequests::addStatusWrite(HidlaneCallback callback) {
    std::lock_guard lock(mutex_);
    const std::uint32_t unitId = takeUnitId();
    entries_.push_back({unitId, SimInterface::Status, callback, nullptr});
    return unitId;
}

template <typename Predicate>
int StandingRequests::removeWhere(Predicate predicate) {
    std::vector<Entry> removed;
    {
        std::lock_guard lock(mutex_);
        auto kept = std::stable_partition(entries_.begin(), entries_.end(),
                                          [&](const Entry& entry) { return !predicate(entry); });
        std::move(kept, entries_.end(), std::back_inserter(removed));
        entries_.erase(kept, entries_.end());
    }
    // Stopped outside the lock: a callback still running may call back into the library.
    for (auto& entry : removed)
        if (entry.lane) entry.lane->stop();
    return static_cast<int>(removed.size());
}

bool StandingRequests::remove(std::uint32_t unitId) {
    if (unitId == 0) return false;
    return removeWhere([unitId](const Entry& entry) { return entry.unitId == unitId; }) > 0;
}

int StandingRequests::removeAllOf(HidlaneCallback callback) {
    return removeWhere([callback](const Entry& entry) { return entry.callback == callback; });
}

void StandingRequests::removeAll() {
    removeWhere([](const Entry&) { return true; });
}

std::vector<std::shared_ptr<CallbackLane>> StandingRequests::readsOn(SimInterface where) const {
    std::vector<std::shared_ptr<CallbackLane>> lanes;
    std::lock_guard lock(mutex_);
    for (const auto& entry : entries_)
        if (entry.lane && entry.where == where) lanes.push_back(entry.lane);
    return lanes;
}

}  // namespace quillmar::sim
