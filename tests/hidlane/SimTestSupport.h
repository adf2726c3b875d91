#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "hidlane/hidlane.h"
#include "hidlane/sim/SimKeyboard.h"
#include "hidlane/sim/SimReport.h"

namespace quillmar::sim::test {

using namespace std::chrono_literals;

// What a callback was given, with the thread it ran on.
struct RecordedEvent {
    std::uint32_t tag = 0;
    std::uint32_t kind = 0;
    std::uint32_t lengthOrCount = 0;
    std::vector<std::uint8_t> bytes;
    std::thread::id thread;
};

// Callbacks for the library: each appends to its own log.
int recordToMainLog(const HidlaneEvent* event);
int recordToOtherLog(const HidlaneEvent* event);

// Takes the oldest event with that tag from a log, waiting up to the timeout.
std::optional<RecordedEvent> nextEvent(std::uint32_t tag, std::chrono::milliseconds timeout = 3s,
                                       HidlaneCallback log = recordToMainLog);
bool logHasNoEvents(HidlaneCallback log = recordToMainLog);
void clearLogs();

inline const HidSelector kCommandSelector = hidlane_selector(HIDLANE_COMMAND_USAGE_PAGE, HIDLANE_COMMAND_USAGE);
inline const HidSelector kConsumerSelector = hidlane_selector(HIDLANE_CONSUMER_USAGE_PAGE, HIDLANE_CONSUMER_USAGE);
inline const HidSelector kStatusSelector = hidlane_selector(HIDLANE_STATUS_USAGE_PAGE, HIDLANE_STATUS_USAGE);

// A request as the program frames it, checksum in place.
Report commandFrame(std::uint8_t command, std::uint8_t length = 0, std::uint16_t address = 0,
                    std::span<const std::uint8_t> data = {});
// RequestWriteOne of the frame with a right check value.
int writeFrame(const Report& frame);
// Writes the frame and waits for its answer on the "CTRL" read.
std::optional<Report> transact(const Report& frame);
std::uint8_t answerStatus(const Report& frame);

std::uint32_t startRead(const HidSelector& selector, std::uint32_t tag, HidlaneCallback callback = recordToMainLog);
int deviceCount();

// A fresh folder under the system's temporary one, removed at the end.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The library started on a temporary state file, with "CONS" and "CTRL" reads
// recording into the main log. Environment variables a test sets before
// startLibrary() are seen by Init.
class SimLibraryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void startLibrary();

    SimKeyboard& keyboard() { return sharedSimKeyboard(); }
    std::filesystem::path statePath() const { return folder_.path() / "state" / "sim-keyboard.bin"; }

    TemporaryFolder folder_;
    std::uint32_t commandRead_ = 0;
    std::uint32_t consumerRead_ = 0;
};

}  // namespace quillmar::sim::test
