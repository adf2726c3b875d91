#include "device/FakeHidService.h"

#include "device/DeviceReport.h"

#include <algorithm>
#include <atomic>

namespace quillmar::device::testing {
namespace {

std::atomic<FakeHidService*> gCurrent{nullptr};

// Write commands store into the area their read command reads.
std::uint8_t readCommandOf(std::uint8_t command) {
    switch (command) {
    case 4: return 3;
    case 6: return 5;
    case 8: return 7;
    case 10: return 9;
    default: return command;
    }
}

bool isWrite(std::uint8_t command) { return readCommandOf(command) != command || command == 17; }

}  // namespace

EventLane::EventLane() : thread_([this] { run(); }) {}

EventLane::~EventLane() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void EventLane::post(std::chrono::milliseconds delay, std::function<void()> delivery) {
    {
        std::lock_guard lock(mutex_);
        queue_.emplace(std::chrono::steady_clock::now() + delay, std::move(delivery));
    }
    changed_.notify_all();
}

void EventLane::drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void EventLane::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (queue_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const auto due = queue_.begin()->first;
        if (std::chrono::steady_clock::now() < due) {
            changed_.wait_until(lock, due);
            continue;
        }
        auto delivery = std::move(queue_.begin()->second);
        queue_.erase(queue_.begin());
        busy_ = true;
        lock.unlock();
        delivery();
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

struct FakeEntryPoints {
    static FakeHidService& fake() { return *gCurrent.load(); }

    static int Debug(int) { return 0; }
    static int Init(int) { return 1; }
    static int End() { return 1; }
    static int RequestGetDeviceCount(const HidSelector* s, HidlaneCallback, uint32_t,
                                     uint32_t check, uint32_t*) {
        return fake().getDeviceCount(s, check);
    }
    static int DeleteRequestFromUnitId(uint32_t unitId) { return unitId != 0; }
    static int DeleteRequestFromHandle(HidlaneCallback) { return 0; }
    static int RequestWrite(const HidSelector*, HidlaneCallback, uint32_t, const uint8_t*,
                            uint32_t, uint32_t, uint32_t*) {
        return 0;
    }
    static int RequestWriteOne(const HidSelector* s, HidlaneCallback, uint32_t,
                               const uint8_t* data, uint32_t length, uint32_t check, uint32_t*) {
        return fake().writeOne(s, data, length, check);
    }
    static int RequestStatusWrite(const HidSelector* s, HidlaneCallback callback, uint32_t tag,
                                  const uint8_t* data, uint32_t length, uint32_t check,
                                  uint32_t* unitId) {
        return fake().statusWrite(s, callback, tag, data, length, check, unitId);
    }
    static int RequestStatusGet(const HidSelector*, HidlaneCallback, uint32_t, uint32_t,
                                uint32_t*) {
        return 0;
    }
    static int RequestAsyncRead(const HidSelector* s, HidlaneCallback callback, uint32_t tag,
                                uint32_t check, uint32_t* unitId) {
        return fake().asyncRead(s, callback, tag, check, unitId);
    }
    static int RequestStatusSetFeature(const HidSelector*, HidlaneCallback, uint32_t,
                                       const uint8_t*, uint32_t, uint32_t, uint32_t*) {
        return 0;
    }
};

FakeHidService::FakeHidService() {
    for (std::uint8_t command : {3, 5, 7, 9, 15, 17}) {
        auto& bytes = area(command);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<std::uint8_t>(i * 7 + command);
        }
    }
    area(3)[10] = 1;    // active profile
    area(3)[11] = 0x40; // macro memory, 128-byte units
    gCurrent.store(this);
}

FakeHidService::~FakeHidService() {
    drain();
    gCurrent.store(nullptr);
}

HidService FakeHidService::service() const {
    using E = FakeEntryPoints;
    return HidService{E::Debug,          E::Init,
                      E::End,            E::RequestGetDeviceCount,
                      E::DeleteRequestFromUnitId, E::DeleteRequestFromHandle,
                      E::RequestWrite,   E::RequestWriteOne,
                      E::RequestStatusWrite, E::RequestStatusGet,
                      E::RequestAsyncRead, E::RequestStatusSetFeature};
}

std::vector<std::uint8_t>& FakeHidService::area(std::uint8_t readCommand) {
    auto& bytes = memory_[readCommand];
    if (bytes.empty()) bytes.resize(0x10000 + DeviceReport::kMaxData);
    return bytes;
}

bool FakeHidService::checkValue(const HidSelector* selector, HidlaneCallback callback,
                                uint32_t tag, const std::uint8_t* payload, uint32_t length,
                                uint32_t check) {
    if (hidlane_check_value(selector, callback, tag, payload, length) == check) return true;
    std::lock_guard lock(mutex_);
    ++badCheckValues_;
    return false;
}

int FakeHidService::getDeviceCount(const HidSelector* selector, uint32_t check) {
    if (!checkValue(selector, nullptr, 0, nullptr, 0, check)) return 0;
    std::lock_guard lock(mutex_);
    return deviceCount_;
}

int FakeHidService::writeOne(const HidSelector* selector, const std::uint8_t* data,
                             uint32_t length, uint32_t check) {
    if (!checkValue(selector, nullptr, 0, data, length, check) || length != 64) return 0;
    Report request{};
    std::copy_n(data, 64, request.begin());
    Responder responder;
    int index = 0;
    {
        std::lock_guard lock(mutex_);
        ++writeAttempts_;
        if (refuseWrites_ || deviceCount_ == 0) return 0;
        index = static_cast<int>(writes_.size());
        writes_.push_back(request);
        responder = responder_;
    }
    std::vector<Delivery> deliveries;
    if (responder) {
        deliveries = responder(request, index);
    } else {
        const auto answer = keyboardAnswer(request);
        deliveries.push_back({{answer.begin(), answer.end()}, {}});
    }
    for (auto& d : deliveries) {
        deliver(commandLane_, HIDLANE_TAG_CTRL, HIDLANE_EVENT_DATA, std::move(d.bytes), 0,
                d.delay);
    }
    return 1;
}

FakeHidService::Report FakeHidService::keyboardAnswer(const Report& request) {
    DeviceReport answer;
    std::copy_n(request.begin(), DeviceReport::kHeaderSize, answer.bytes.begin());
    answer.bytes[7] = 0;
    const std::uint8_t command = request[3];
    const std::size_t address = request[5] | request[6] << 8;
    const std::size_t length = std::min<std::size_t>(request[4], DeviceReport::kMaxData);
    std::lock_guard lock(mutex_);
    auto& bytes = area(readCommandOf(command));
    if (isWrite(command)) {
        std::copy_n(request.begin() + 8, length, bytes.begin() + address);
    } else {
        std::copy_n(bytes.begin() + address, DeviceReport::kMaxData, answer.data().begin());
    }
    answer.seal();
    return answer.bytes;
}

std::uint8_t FakeHidService::memoryByte(std::uint8_t readCommand, std::size_t address) const {
    std::lock_guard lock(mutex_);
    return memory_.at(readCommand).at(address);
}

void FakeHidService::setMemoryByte(std::uint8_t readCommand, std::size_t address,
                                   std::uint8_t value) {
    std::lock_guard lock(mutex_);
    area(readCommand).at(address) = value;
}

int FakeHidService::asyncRead(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                              uint32_t check, uint32_t* unitId) {
    if (!checkValue(selector, callback, tag, nullptr, 0, check)) return 0;
    std::lock_guard lock(mutex_);
    callbacks_[tag] = callback;
    if (unitId) *unitId = nextUnitId_++;
    return 1;
}

int FakeHidService::statusWrite(const HidSelector* selector, HidlaneCallback callback,
                                uint32_t tag, const std::uint8_t* data, uint32_t length,
                                uint32_t check, uint32_t* unitId) {
    if (!checkValue(selector, callback, tag, data, length, check) || length != 2) return 0;
    std::lock_guard lock(mutex_);
    statusWords_.push_back({data[0], data[1]});
    if (unitId) *unitId = nextUnitId_++;
    return 1;
}

void FakeHidService::deliver(EventLane& lane, uint32_t tag, uint32_t kind,
                             std::vector<std::uint8_t> bytes, uint32_t count,
                             std::chrono::milliseconds delay) {
    lane.post(delay, [this, tag, kind, bytes = std::move(bytes), count] {
        HidlaneCallback callback = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (auto it = callbacks_.find(tag); it != callbacks_.end()) callback = it->second;
        }
        if (!callback) return;
        const bool data = kind == HIDLANE_EVENT_DATA;
        const HidlaneRequestRecord record{
            tag, data ? static_cast<uint32_t>(bytes.size()) : count,
            data ? bytes.data() : nullptr};
        const HidlaneEvent event{kind, &record};
        callback(&event);
    });
}

void FakeHidService::setDeviceCount(int count) {
    std::lock_guard lock(mutex_);
    deviceCount_ = count;
}

void FakeHidService::announceDeviceCount(int count) {
    setDeviceCount(count);
    deliver(commandLane_, HIDLANE_TAG_CTRL, HIDLANE_EVENT_DEVICE_COUNT, {},
            static_cast<uint32_t>(count), {});
}

void FakeHidService::sendNotice(std::uint16_t code) {
    deliver(consumerLane_, HIDLANE_TAG_CONS, HIDLANE_EVENT_DATA,
            {static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(code >> 8), 0, 0}, 0, {});
}

void FakeHidService::sendCommandData(std::vector<std::uint8_t> bytes) {
    deliver(commandLane_, HIDLANE_TAG_CTRL, HIDLANE_EVENT_DATA, std::move(bytes), 0, {});
}

void FakeHidService::setResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

void FakeHidService::refuseWrites(bool refuse) {
    std::lock_guard lock(mutex_);
    refuseWrites_ = refuse;
}

std::vector<FakeHidService::Report> FakeHidService::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

std::size_t FakeHidService::writeAttempts() const {
    std::lock_guard lock(mutex_);
    return writeAttempts_;
}

std::vector<std::array<std::uint8_t, 2>> FakeHidService::statusWords() const {
    std::lock_guard lock(mutex_);
    return statusWords_;
}

int FakeHidService::badCheckValues() const {
    std::lock_guard lock(mutex_);
    return badCheckValues_;
}

void FakeHidService::drain() {
    commandLane_.drain();
    consumerLane_.drain();
}

std::vector<std::uint8_t> answerWithStatus(const FakeHidService::Report& request,
                                           std::uint8_t status) {
    DeviceReport answer{request};
    answer.bytes[7] = status;
    answer.seal();
    return {answer.bytes.begin(), answer.bytes.end()};
}

}  // namespace quillmar::device::testing
