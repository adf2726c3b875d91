// One standing read: a thread that keeps the matching interface of the chosen keyboard open,
// hands every input report of its own collection to the callback, and follows the keyboard
// away and back. Device-count changes are delivered on the same thread, and a new keyboard's
// count only once its node is open, so a caller that writes on a count event finds the
// answer's reader already listening.
#pragma once

#include "DeviceTable.h"
#include "Diagnostics.h"
#include "hidlane/hidlane.h"

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

    // Opens the node of a keyboard already there before the thread starts, so no report
    // sent after this returns is missed. False when the thread cannot be started.
    bool start();
    // Ends the thread; from the read's own callback it only asks it to end.
    void stop();
    // The nodes may have changed: drop a node that went away or is no longer the chosen
    // keyboard's, open one that came, try again a node that could not be opened.
    void devicesChanged();

    uint32_t unitId() const { return unitId_; }
    HidlaneCallback callback() const { return callback_; }
    bool readsCommandInterface() const;

private:
    void run();
    void loop();
    void wake();
    void takeWake();
    void reattach();
    int usableCount() const;
    void deliverCountChange();
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

    // Owned by the read's thread.
    int deviceFd_ = -1;
    HidrawNode attached_;
    bool stripReportId_ = false;
    int deliveredCount_ = 0;
    std::vector<uint8_t> buffer_;
};

} // namespace quillmar::hidraw
