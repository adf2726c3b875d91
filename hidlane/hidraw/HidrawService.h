// The library behind the twelve entry points: the table of attached keyboards, the hotplug
// watcher, the standing requests and the writes. The C entry points forward to one instance;
// tests make their own over a fake system.
#pragma once

#include "DeviceTable.h"
#include "Diagnostics.h"
#include "StandingRead.h"
#include "hidlane/hidlane.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace quillmar::hidraw {

class HidrawService {
public:
    using SystemFactory = std::function<std::shared_ptr<HidrawSystem>()>;

    // rescanIntervalMs: how often sysfs is read again when no hotplug notice comes.
    explicit HidrawService(SystemFactory makeSystem, int rescanIntervalMs = 1000);
    ~HidrawService();
    HidrawService(const HidrawService&) = delete;
    HidrawService& operator=(const HidrawService&) = delete;

    int debug(int level) { return diagnostics_.setLevel(level); }
    int init(int flags);
    int end();

    int getDeviceCount(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                       uint32_t* unitId);
    int deleteUnit(uint32_t unitId);
    int deleteByCallback(HidlaneCallback callback);
    int write(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
              uint32_t length, uint32_t check, uint32_t* unitId);
    int writeOne(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                 uint32_t length, uint32_t check, uint32_t* unitId);
    int statusWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                    uint32_t length, uint32_t check, uint32_t* unitId);
    int statusGet(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                  uint32_t* unitId);
    int asyncRead(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                  uint32_t* unitId);
    int setFeature(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                   uint32_t length, uint32_t check, uint32_t* unitId);

private:
    struct Request;
    struct Running;

    bool admitted(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                  uint32_t length, uint32_t check) const;
    bool writeReport(const HidrawNode& node, const HidSelector& selector, const uint8_t* data, uint32_t length,
                     bool feature);
    int writeToFirst(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                     uint32_t length, uint32_t check, bool feature);
    std::optional<HidrawNode> firstNode(const HidSelector& selector) const;
    bool sendStatusWord(Request& request);
    bool statusWordTargetChanged(Request& request);
    uint32_t nextUnitId();
    uint32_t addRequest(std::shared_ptr<Request> request);
    void watch(Running& running);
    void refresh(Running& running);
    std::vector<std::shared_ptr<Request>> requests() const;
    std::shared_ptr<DeviceTable> table() const;
    std::shared_ptr<HidrawSystem> system() const;

    SystemFactory makeSystem_;
    const int rescanIntervalMs_;
    Diagnostics diagnostics_;

    std::mutex lifecycleMutex_; // init and end
    mutable std::mutex mutex_;  // the fields below
    std::unique_ptr<Running> running_;
    std::map<uint32_t, std::shared_ptr<Request>> requests_;
    uint32_t lastUnitId_ = 0;
    std::vector<uint8_t> lastStatusWord_;
};

} // namespace quillmar::hidraw
