#include "SimTestSupport.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <random>

namespace quillmar::sim::test {
namespace {

struct EventLog {
    std::mutex mutex;
    std::condition_variable added;
    std::deque<RecordedEvent> events;
};

EventLog& logOf(HidlaneCallback callback) {
    static EventLog mainLog;
    static EventLog otherLog;
    return callback == recordToOtherLog ? otherLog : mainLog;
}

int record(EventLog& log, const HidlaneEvent* event) {
    RecordedEvent copy;
    copy.kind = event->kind;
    copy.tag = event->request->tag;
    copy.lengthOrCount = event->request->lengthOrCount;
    if (event->request->data) copy.bytes.assign(event->request->data, event->request->data + copy.lengthOrCount);
    copy.thread = std::this_thread::get_id();
    {
        std::lock_guard lock(log.mutex);
        log.events.push_back(std::move(copy));
    }
    log.added.notify_all();
    return 1;
}

}  // namespace

int recordToMainLog(const HidlaneEvent* event) { return record(logOf(recordToMainLog), event); }
int recordToOtherLog(const HidlaneEvent* event) { return record(logOf(recordToOtherLog), event); }

std::optional<RecordedEvent> nextEvent(std::uint32_t tag, std::chrono::milliseconds timeout, HidlaneCallback log) {
    EventLog& events = logOf(log);
    std::unique_lock lock(events.mutex);
    std::optional<RecordedEvent> found;
    events.added.wait_for(lock, timeout, [&] {
        auto match = std::ranges::find(events.events, tag, &RecordedEvent::tag);
        if (match == events.events.end()) return false;
        found = std::move(*match);
        events.events.erase(match);
        return true;
    });
    return found;
}

bool logHasNoEvents(HidlaneCallback log) {
    EventLog& events = logOf(log);
    std::lock_guard lock(events.mutex);
    return events.events.empty();
}

void clearLogs() {
    for (HidlaneCallback log : {recordToMainLog, recordToOtherLog}) {
        std::lock_guard lock(logOf(log).mutex);
        logOf(log).events.clear();
    }
}

Report commandFrame(std::uint8_t command, std::uint8_t length, std::uint16_t address,
                    std::span<const std::uint8_t> data) {
    Report frame{};
    frame[kReportIdByte] = kCommandReportId;
    frame[kCommandByte] = command;
    frame[kLengthByte] = length;
    frame[kAddressLowByte] = static_cast<std::uint8_t>(address);
    frame[kAddressHighByte] = static_cast<std::uint8_t>(address >> 8);
    std::ranges::copy(data.first(std::min(data.size(), kMaxReportData)), frame.begin() + kReportDataOffset);
    sealReport(frame);
    return frame;
}

int writeFrame(const Report& frame) {
    const std::uint32_t check = hidlane_check_value(&kCommandSelector, nullptr, 0, frame.data(), kReportBytes);
    return RequestWriteOne(&kCommandSelector, nullptr, 0, frame.data(), kReportBytes, check, nullptr);
}

std::optional<Report> transact(const Report& frame) {
    if (writeFrame(frame) <= 0) return std::nullopt;
    auto event = nextEvent(HIDLANE_TAG_CTRL);
    if (!event || event->kind != HIDLANE_EVENT_DATA || event->bytes.size() != kReportBytes) return std::nullopt;
    Report answer{};
    std::ranges::copy(event->bytes, answer.begin());
    return answer;
}

std::uint8_t answerStatus(const Report& frame) {
    const auto answer = transact(frame);
    return answer ? (*answer)[kStatusByte] : 0x5A;  // no answer: a status the keyboard never sends
}

std::uint32_t startRead(const HidSelector& selector, std::uint32_t tag, HidlaneCallback callback) {
    std::uint32_t unitId = 0;
    const std::uint32_t check = hidlane_check_value(&selector, callback, tag, nullptr, 0);
    return RequestAsyncRead(&selector, callback, tag, check, &unitId) > 0 ? unitId : 0;
}

int deviceCount() {
    return RequestGetDeviceCount(&kCommandSelector, nullptr, 0,
                                 hidlane_check_value(&kCommandSelector, nullptr, 0, nullptr, 0), nullptr);
}

TemporaryFolder::TemporaryFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() / ("quillmar-sim-test-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void SimLibraryTest::SetUp() {
    ::setenv("QUILLMAR_SIM_STATE", statePath().c_str(), 1);
    for (const char* name :
         {"QUILLMAR_SIM_TRACE", "QUILLMAR_SIM_CONTROL", "QUILLMAR_SIM_UNPLUGGED", "QUILLMAR_SIM_CORRUPT_WRITES"})
        ::unsetenv(name);
    clearLogs();
}

void SimLibraryTest::startLibrary() {
    ASSERT_GT(Init(0), 0);
    consumerRead_ = startRead(kConsumerSelector, HIDLANE_TAG_CONS);
    commandRead_ = startRead(kCommandSelector, HIDLANE_TAG_CTRL);
    ASSERT_NE(consumerRead_, 0u);
    ASSERT_NE(commandRead_, 0u);
}

void SimLibraryTest::TearDown() {
    End();
    clearLogs();
    ::unsetenv("QUILLMAR_SIM_STATE");
}

}  // namespace quillmar::sim::test
