#pragma once

#include "device/HidService.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace quillmar::device::testing {

// One thread delivering callbacks in due order, like one standing read of
// the library.
class EventLane {
public:
    EventLane();
    ~EventLane();
    void post(std::chrono::milliseconds delay, std::function<void()> delivery);
    void drain();  // returns once everything posted so far is delivered

private:
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

// A scriptable keyboard behind the library's twelve entry points. Answers
// come on the "CTRL" lane's thread, notices on the "CONS" lane's, as the real
// library does. By default it answers like a keyboard with a flat memory per
// command area; a responder replaces that per written report.
class FakeHidService {
public:
    using Report = std::array<std::uint8_t, 64>;
    struct Delivery {
        std::vector<std::uint8_t> bytes;
        std::chrono::milliseconds delay{0};
    };
    // index counts the accepted writes from 0.
    using Responder = std::function<std::vector<Delivery>(const Report& request, int index)>;

    FakeHidService();
    ~FakeHidService();
    FakeHidService(const FakeHidService&) = delete;
    FakeHidService& operator=(const FakeHidService&) = delete;

    HidService service() const;

    void setDeviceCount(int count);   // without telling anyone
    void announceDeviceCount(int count);  // a count event on the "CTRL" lane
    void sendNotice(std::uint16_t code);  // a "CONS" data event
    void sendCommandData(std::vector<std::uint8_t> bytes);  // unsolicited "CTRL" data
    void setResponder(Responder responder);
    void refuseWrites(bool refuse);

    // The default keyboard: reads answer from its memory, writes store into it.
    Report keyboardAnswer(const Report& request);
    std::uint8_t memoryByte(std::uint8_t readCommand, std::size_t address) const;
    void setMemoryByte(std::uint8_t readCommand, std::size_t address, std::uint8_t value);

    std::vector<Report> writes() const;
    std::size_t writeAttempts() const;
    std::vector<std::array<std::uint8_t, 2>> statusWords() const;
    int badCheckValues() const;
    void drain();

private:
    friend struct FakeEntryPoints;
    int getDeviceCount(const HidSelector* selector, uint32_t check);
    int writeOne(const HidSelector* selector, const std::uint8_t* data, uint32_t length,
                 uint32_t check);
    int asyncRead(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                  uint32_t check, uint32_t* unitId);
    int statusWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                    const std::uint8_t* data, uint32_t length, uint32_t check, uint32_t* unitId);
    bool checkValue(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                    const std::uint8_t* payload, uint32_t length, uint32_t check);
    void deliver(EventLane& lane, uint32_t tag, uint32_t kind, std::vector<std::uint8_t> bytes,
                 uint32_t count, std::chrono::milliseconds delay);
    std::vector<std::uint8_t>& area(std::uint8_t readCommand);

    mutable std::mutex mutex_;
    int deviceCount_ = 1;
    bool refuseWrites_ = false;
    Responder responder_;
    std::map<std::uint32_t, HidlaneCallback> callbacks_;
    std::map<std::uint8_t, std::vector<std::uint8_t>> memory_;
    std::vector<Report> writes_;
    std::size_t writeAttempts_ = 0;
    std::vector<std::array<std::uint8_t, 2>> statusWords_;
    std::uint32_t nextUnitId_ = 1;
    int badCheckValues_ = 0;
    EventLane commandLane_;
    EventLane consumerLane_;
};

// The report with another status byte, sealed: an answer to request.
std::vector<std::uint8_t> answerWithStatus(const FakeHidService::Report& request,
                                           std::uint8_t status);

}  // namespace quillmar::device::testing
