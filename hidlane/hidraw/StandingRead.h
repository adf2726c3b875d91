// One standing read: a thread that keeps the matching interface of the first keyboard open,
// hands every input report to the callback, and follows the keyboard away and back.
// Device-count changes are delivered on the same thread, after the read has reattached,
// so a caller that writes on a count event finds the answer's reader already listening.
#pragma once

#include "DeviceTable.h"
#include "Diagnostics.h"
#include "hidlane/hidlane.h"

#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quillmar::hidraw {

class StandingRead : public std::enable_shared_from_this<StandingRead> {
public:
    StandingRead(std::shared_ptr<HidrawSystem> system, std::shared_ptr<const DeviceTable> table,
                 Diagnostics& diagnostics, uint32_t unitId,
                 const HidSelector& selector, HidlaneCallback callback, uint32_t tag);
    ~StandingRead();

    bool start();
    // Ends the thread; from the read's own callback it only asks it to end.
    void stop();
    // The set of nodes changed: drop a node that went away, open one that came.
    void devicesChanged();
    void deliverDeviceCount(int count);

    uint32_t unitId() const { return unitId_; }
    HidlaneCallback callback() const { return callback_; }
    bool readsCommandInterface() const;

private:
    void run();
    void wake();
    void takeWake();
    void reattach();
    void readReport();
    void detach();
    void call(uint32_t kind, uint32_t lengthOrCount, const uint8_t* data);

    const std::shared_ptr<HidrawSystem> system_;
    const std::shared_ptr<const DeviceTable> table_;
    Diagnostics& diagnostics_;
    const uint32_t unitId_;
    const HidSelector selector_;
    const HidlaneCallback callback_;
    const uint32_t tag_;

    int wakeFd_ = -1;
    std::thread thread_;

    std::mutex mutex_;
    bool stopping_ = false;
    bool recheck_ = true;
    std::deque<int> pendingCounts_;

    // Owned by the read's thread.
    int deviceFd_ = -1;
    HidrawNode attached_;
    bool stripReportId_ = false;
    std::vector<uint8_t> buffer_;
};

} // namespace quillmar::hidraw
