#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "hidlane/hidlane.h"
#include "hidlane/sim/CallbackLane.h"
#include "hidlane/sim/SimInterface.h"

namespace quillmar::sim {

// The standing requests of the library, by unit id: reads (each with its own
// delivery lane) and status writes (kept only so they can be deleted).
class StandingRequests {
public:
    struct Read {
        std::uint32_t unitId;
        std::shared_ptr<CallbackLane> lane;
    };

    StandingRequests() = default;
    ~StandingRequests();
    StandingRequests(const StandingRequests&) = delete;
    StandingRequests& operator=(const StandingRequests&) = delete;

    Read addRead(SimInterface where, HidlaneCallback callback, std::uint32_t tag);
    std::uint32_t addStatusWrite(HidlaneCallback callback);

    // Each returns once the removed reads' callbacks can no longer run.
    bool remove(std::uint32_t unitId);
    int removeAllOf(HidlaneCallback callback);
    void removeAll();

    std::vector<std::shared_ptr<CallbackLane>> readsOn(SimInterface where) const;

private:
    struct Entry {
        std::uint32_t unitId;
        SimInterface where;
        HidlaneCallback callback;
        std::shared_ptr<CallbackLane> lane;  // none for a status write
    };

    template <typename Predicate>
    int removeWhere(Predicate predicate);
    std::uint32_t takeUnitId();

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    std::uint32_t lastUnitId_ = 0;
};

}  // namespace quillmar::sim
