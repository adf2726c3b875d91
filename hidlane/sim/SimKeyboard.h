#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hidlane/hidlane.h"
#include "hidlane/sim/SimInterface.h"
#include "hidlane/sim/SimMemory.h"
#include "hidlane/sim/SimReport.h"
#include "hidlane/sim/SimStateFile.h"
#include "hidlane/sim/SimTrace.h"
#include "hidlane/sim/StandingRequests.h"

namespace quillmar::sim {

class SimControlPipe;

// Consumer notices the keyboard sends on its own.
inline constexpr std::uint16_t kNoticeBankKey = 0x02FF;
inline constexpr std::uint16_t kNoticeLightingChanged = 0x0401;
inline constexpr std::uint16_t kNoticeIndicatorOff = 0x1810;
inline constexpr std::uint16_t kNoticeIndicatorOn = 0x1811;

// A simulated keyboard: its firmware (memory areas, the command set of the
// 64-byte command reports), its notices and its presence, behind the HID
// service library's entry points; plus a control surface for tests.
//
// Every process of the user drives one keyboard: the memory is saved to the
// state file when an update ends, and a command arriving outside an update
// first takes up a newer file another process saved. The programs hold the
// keyboard's lock (device/KeyboardLock.h) for each whole operation, so the
// file changes only between operations.
//
// Environment read by start():
//   QUILLMAR_SIM_STATE     state file (see SimStateFile.h)
//   QUILLMAR_SIM_TRACE     file every report is appended to (see SimTrace.h)
//   QUILLMAR_SIM_CONTROL   FIFO of control lines (see applyControlLine)
//   QUILLMAR_SIM_UNPLUGGED "1": start with no keyboard attached
//   QUILLMAR_SIM_CORRUPT_WRITES  N: keepOtherBytes(N) from the start
class SimKeyboard {
public:
    using Milliseconds = std::chrono::milliseconds;

    SimKeyboard();
    ~SimKeyboard();
    SimKeyboard(const SimKeyboard&) = delete;
    SimKeyboard& operator=(const SimKeyboard&) = delete;

    // --- the library side (Init, End and the Request* entry points) ---

    // Begins a session: memory from the state file (else factory), plugged in
    // unless QUILLMAR_SIM_UNPLUGGED=1, default latency, no faults, empty trace
    // and status words. While started it changes nothing.
    void start();
    // Ends every standing request and thread. The memory stays readable.
    void stop();
    bool started() const { return started_; }

    int deviceCount(SimInterface where) const;
    // Unit id of the new read, 0 when not started.
    std::uint32_t openRead(SimInterface where, HidlaneCallback callback, std::uint32_t tag);
    bool closeRequest(std::uint32_t unitId);
    int closeRequestsOf(HidlaneCallback callback);
    // An output report from the host; false when it did not reach a keyboard.
    bool receiveOutputReport(SimInterface where, std::span<const std::uint8_t> bytes);
    // The status word; the unit id of the standing status write, 0 when not sent.
    std::uint32_t receiveStatusWord(HidlaneCallback callback, std::span<const std::uint8_t> bytes);
    // Delivers the last status word to a new read with that callback and tag.
    std::uint32_t requestStatusWord(HidlaneCallback callback, std::uint32_t tag);
    bool receiveFeatureReport(SimInterface where, std::span<const std::uint8_t> bytes);
    int setDebugLevel(int level);

    // --- control surface for tests ---

    void plug();
    void unplug();
    bool plugged() const;

    void pressBankKey() { sendNotice(kNoticeBankKey); }
    void changeLightingOnKeyboard() { sendNotice(kNoticeLightingChanged); }
    void setIndicator(bool on) { sendNotice(on ? kNoticeIndicatorOn : kNoticeIndicatorOff); }
    // Any consumer notice; nothing happens while unplugged.
    void sendNotice(std::uint16_t code);

    // Runs one control line: "plug", "unplug", "bank", "lighting-changed",
    // "indicator on", "indicator off", "corrupt-writes N" (keepOtherBytes).
    // False for anything else.
    bool applyControlLine(std::string_view line);

    void setLatency(Milliseconds latency);

    // Fault script, for the next answers the keyboard sends. A dropped answer
    // still carries out its command; an answer with a forced status does not.
    // Drops come first, then forced statuses; the other command byte and the
    // delay change whatever answer goes out.
    void dropAnswers(int count);
    void answerWithStatus(std::uint8_t status, int count);
    void answerWithCommand(std::uint8_t command, int count = 1);
    void delayAnswers(Milliseconds delay, int count = 1);
    // The next count writes of key blocks or macro area are answered as
    // taken, but the keyboard keeps the piece with its last byte changed.
    void keepOtherBytes(int count);
    void clearFaults();

    // The keyboard's memory; writes here are not saved to the state file.
    std::vector<std::uint8_t> readMemory(SimArea area) const;
    std::vector<std::uint8_t> readMemory(SimArea area, std::size_t offset, std::size_t length) const;
    bool writeMemory(SimArea area, std::size_t offset, std::span<const std::uint8_t> bytes);
    SimMemory memory() const;
    void resetToFactory();
    bool inUpdate() const;

    std::vector<std::array<std::uint8_t, 2>> statusWords() const;
    std::vector<std::string> traceLines() const { return trace_.recentLines(); }
    void clearTrace() { trace_.clear(); }

private:
    struct FaultScript {
        int drops = 0;
        int forcedStatuses = 0;
        std::uint8_t forcedStatus = 0;
        int otherCommands = 0;
        std::uint8_t otherCommand = 0;
        int delays = 0;
        Milliseconds delay{0};
        int otherBytes = 0;
    };

    // Carries out one request; returns the answer and whether to save the memory.
    Report runFirmware(const Report& request, bool& save);
    Report runCommand(const Report& request, bool& save);
    void sendAnswer(Report answer);
    void saveState();
    // Takes up what another process saved since this one last loaded or saved.
    void followStateFile();
    void announceDeviceCount(int count);
    void resetSession();

    mutable std::mutex mutex_;  // everything below up to the trace
    SimMemory memory_;
    bool plugged_ = true;
    bool updating_ = false;
    Milliseconds latency_;
    FaultScript faults_;
    std::vector<std::array<std::uint8_t, 2>> statusWords_;
    std::filesystem::path statePath_;
    std::optional<SimStateStamp> stateStamp_;  // the file's version memory_ holds

    SimTrace trace_;
    StandingRequests requests_;
    std::atomic<int> debugLevel_{0};

    std::mutex lifecycleMutex_;  // start and stop
    std::atomic<bool> started_{false};
    std::unique_ptr<SimControlPipe> controlPipe_;
};

// The one keyboard behind the library's C entry points.
SimKeyboard& sharedSimKeyboard();

}  // namespace quillmar::sim
