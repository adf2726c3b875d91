#include "hidlane/sim/SimKeyboard.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <optional>

#include "hidlane/sim/SimControlPipe.h"
#include "hidlane/sim/SimEnvironment.h"
#include "hidlane/sim/SimStateFile.h"

namespace quillmar::sim {
namespace {

constexpr SimKeyboard::Milliseconds kDefaultLatency{1};

// Settings reads may run past the third record: the memory goes on for a
// fourth record's room, which reads as zero.
constexpr std::size_t kSettingsReadExtent = kSettingsBytes + kSettingsRecordBytes;

enum class Access { BeginUpdate, EndUpdate, Read, Write };

struct CommandRule {
    std::uint8_t code;
    Access access;
    SimArea area;
    bool needsUpdate;  // refused outside BeginUpdate ... EndUpdate
};

constexpr CommandRule kCommands[] = {
    {1, Access::BeginUpdate, SimArea::DeviceInfo, false},
    {2, Access::EndUpdate, SimArea::DeviceInfo, false},
    {3, Access::Read, SimArea::DeviceInfo, false},
    {4, Access::Write, SimArea::DeviceInfo, false},
    {5, Access::Read, SimArea::Settings, false},
    {6, Access::Write, SimArea::Settings, true},
    {7, Access::Read, SimArea::KeyBlocks, false},
    {8, Access::Write, SimArea::KeyBlocks, true},
    {9, Access::Read, SimArea::MacroArea, false},
    {10, Access::Write, SimArea::MacroArea, true},
    {15, Access::Read, SimArea::DefaultLayout, false},
    {17, Access::Write, SimArea::KeyColours, true},
};

const CommandRule* findCommand(std::uint8_t code) {
    for (const auto& rule : kCommands)
        if (rule.code == code) return &rule;
    return nullptr;
}

// An answer echoing command, length and address, with no data yet.
Report answerTo(const Report& request, std::uint8_t status) {
    Report answer{};
    answer[kReportIdByte] = kCommandReportId;
    std::copy(request.begin() + kCommandByte, request.begin() + kStatusByte, answer.begin() + kCommandByte);
    answer[kStatusByte] = status;
    return answer;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// The number N of a control line "<prefix>N".
std::optional<int> countAfter(std::string_view line, std::string_view prefix) {
    if (!line.starts_with(prefix)) return std::nullopt;
    const std::string_view digits = trimmed(line.substr(prefix.size()));
    int count = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (error != std::errc() || end != digits.data() + digits.size() || count < 0) return std::nullopt;
    return count;
}

int corruptWritesAtStart() {
    const char* value = std::getenv("QUILLMAR_SIM_CORRUPT_WRITES");
    return value ? countAfter(value, "").value_or(0) : 0;
}

bool startsUnplugged() {
    const char* value = std::getenv("QUILLMAR_SIM_UNPLUGGED");
    return value && std::string_view(value) == "1";
}

}  // namespace

SimKeyboard::SimKeyboard() : memory_(factorySimMemory()), latency_(kDefaultLatency) {}

SimKeyboard::~SimKeyboard() { stop(); }

// ---------------------------------------------------------------- lifecycle

void SimKeyboard::start() {
    std::lock_guard lifecycle(lifecycleMutex_);
    if (started_) return;
    resetSession();
    trace_.clear();
    trace_.openFile(environmentPath("QUILLMAR_SIM_TRACE"));
    if (auto fifo = environmentPath("QUILLMAR_SIM_CONTROL"); !fifo.empty())
        controlPipe_ = std::make_unique<SimControlPipe>(fifo, [this](std::string_view line) { applyControlLine(line); });
    started_ = true;
}

void SimKeyboard::resetSession() {
    std::lock_guard lock(mutex_);
    statePath_ = simStatePath();
    stateStamp_ = simStateStamp(statePath_);
    memory_ = loadSimState(statePath_).value_or(factorySimMemory());
    plugged_ = !startsUnplugged();
    updating_ = false;
    latency_ = kDefaultLatency;
    faults_ = {};
    faults_.otherBytes = corruptWritesAtStart();
    statusWords_.clear();
}

void SimKeyboard::stop() {
    std::lock_guard lifecycle(lifecycleMutex_);
    if (!started_) return;
    started_ = false;
    controlPipe_.reset();
    requests_.removeAll();
    trace_.closeFile();
}

int SimKeyboard::setDebugLevel(int level) {
    trace_.setEchoToStderr(level > 0);
    return debugLevel_.exchange(level);
}

// ---------------------------------------------------------------- host side

int SimKeyboard::deviceCount(SimInterface) const { return plugged() ? 1 : 0; }

std::uint32_t SimKeyboard::openRead(SimInterface where, HidlaneCallback callback, std::uint32_t tag) {
    if (!started_ || !callback) return 0;
    return requests_.addRead(where, callback, tag).unitId;
}

bool SimKeyboard::closeRequest(std::uint32_t unitId) { return requests_.remove(unitId); }

int SimKeyboard::closeRequestsOf(HidlaneCallback callback) { return requests_.removeAllOf(callback); }

bool SimKeyboard::receiveOutputReport(SimInterface where, std::span<const std::uint8_t> bytes) {
    if (where == SimInterface::Status) return receiveStatusWord(nullptr, bytes) != 0;
    if (where != SimInterface::Command || bytes.empty() || bytes.size() > kReportBytes) return false;
    Report request{};
    std::ranges::copy(bytes, request.begin());

    std::lock_guard lock(mutex_);
    if (!plugged_) return false;
    trace_.request(request);
    if (!updating_) followStateFile();
    bool save = false;
    if (faults_.drops > 0) {
        --faults_.drops;
        runFirmware(request, save);
    } else if (faults_.forcedStatuses > 0) {
        --faults_.forcedStatuses;
        sendAnswer(answerTo(request, faults_.forcedStatus));
    } else {
        sendAnswer(runFirmware(request, save));
    }
    if (save) saveState();
    return true;
}

std::uint32_t SimKeyboard::receiveStatusWord(HidlaneCallback callback, std::span<const std::uint8_t> bytes) {
    if (bytes.size() != 2) return 0;
    std::lock_guard lock(mutex_);
    if (!plugged_) return 0;
    statusWords_.push_back({bytes[0], bytes[1]});
    return requests_.addStatusWrite(callback);
}

std::uint32_t SimKeyboard::requestStatusWord(HidlaneCallback callback, std::uint32_t tag) {
    if (!started_ || !callback) return 0;
    std::lock_guard lock(mutex_);
    if (!plugged_) return 0;
    const auto word = statusWords_.empty() ? std::array<std::uint8_t, 2>{} : statusWords_.back();
    const auto read = requests_.addRead(SimInterface::Status, callback, tag);
    read.lane->postData({word.begin(), word.end()}, CallbackLane::Clock::now());
    return read.unitId;
}

bool SimKeyboard::receiveFeatureReport(SimInterface, std::span<const std::uint8_t> bytes) {
    return !bytes.empty() && plugged();
}

// ---------------------------------------------------------------- firmware

Report SimKeyboard::runFirmware(const Report& request, bool& save) {
    if (request[kReportIdByte] != kCommandReportId || !hasValidChecksum(request))
        return answerTo(request, kStatusBadFrame);
    return runCommand(request, save);
}

Report SimKeyboard::runCommand(const Report& request, bool& save) {
    const CommandRule* rule = findCommand(request[kCommandByte]);
    if (!rule) return answerTo(request, kStatusRefused);
    if (rule->access == Access::BeginUpdate || rule->access == Access::EndUpdate) {
        updating_ = rule->access == Access::BeginUpdate;
        save = !updating_;
        return answerTo(request, kStatusOk);
    }

    auto area = memory_.area(rule->area);
    const std::size_t length = request[kLengthByte];
    const std::size_t address = reportAddress(request);
    const bool isRead = rule->access == Access::Read;
    const std::size_t extent = isRead && rule->area == SimArea::Settings ? kSettingsReadExtent : area.size();
    if (length > kMaxReportData || address + length > extent) return answerTo(request, kStatusRefused);
    if (rule->needsUpdate && !updating_) return answerTo(request, kStatusRefused);

    Report answer = answerTo(request, kStatusOk);
    if (isRead) {
        const std::size_t stored = address < area.size() ? std::min(length, area.size() - address) : 0;
        std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(address), stored, answer.begin() + kReportDataOffset);
        return answer;
    }
    std::copy_n(request.begin() + kReportDataOffset, length, area.begin() + static_cast<std::ptrdiff_t>(address));
    const bool keyOrMacroArea = rule->area == SimArea::KeyBlocks || rule->area == SimArea::MacroArea;
    if (keyOrMacroArea && length > 0 && faults_.otherBytes > 0) {
        --faults_.otherBytes;
        area[address + length - 1] ^= 0x01;
    }
    if (rule->area == SimArea::DeviceInfo) {
        memory_.fitMacroAreaToDeviceInfo();
        save = true;
    }
    return answer;
}

void SimKeyboard::sendAnswer(Report answer) {
    auto due = CallbackLane::Clock::now() + latency_;
    if (faults_.otherCommands > 0) {
        --faults_.otherCommands;
        answer[kCommandByte] = faults_.otherCommand;
    }
    if (faults_.delays > 0) {
        --faults_.delays;
        due += faults_.delay;
    }
    sealReport(answer);
    trace_.answer(answer);
    for (const auto& lane : requests_.readsOn(SimInterface::Command))
        lane->postData({answer.begin(), answer.end()}, due);
}

void SimKeyboard::saveState() {
    if (saveSimState(statePath_, memory_)) stateStamp_ = simStateStamp(statePath_);
}

void SimKeyboard::followStateFile() {
    const auto stamp = simStateStamp(statePath_);
    if (!stamp || stamp == stateStamp_) return;
    if (auto saved = loadSimState(statePath_)) memory_ = std::move(*saved);
    stateStamp_ = stamp;
}

// ---------------------------------------------------------------- control surface

void SimKeyboard::plug() {
    std::lock_guard lock(mutex_);
    if (plugged_) return;
    plugged_ = true;
    announceDeviceCount(1);
}

void SimKeyboard::unplug() {
    std::lock_guard lock(mutex_);
    if (!plugged_) return;
    plugged_ = false;
    updating_ = false;
    for (const auto& lane : requests_.readsOn(SimInterface::Command)) lane->discardPendingData();
    announceDeviceCount(0);
}

void SimKeyboard::announceDeviceCount(int count) {
    trace_.deviceCount(count);
    for (const auto& lane : requests_.readsOn(SimInterface::Command))
        lane->postDeviceCount(static_cast<std::uint32_t>(count));
}

bool SimKeyboard::plugged() const {
    std::lock_guard lock(mutex_);
    return plugged_;
}

void SimKeyboard::sendNotice(std::uint16_t code) {
    std::lock_guard lock(mutex_);
    if (!plugged_) return;
    trace_.notice(code);
    const std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(code >> 8)};
    for (const auto& lane : requests_.readsOn(SimInterface::Consumer))
        lane->postData(bytes, CallbackLane::Clock::now());
}

bool SimKeyboard::applyControlLine(std::string_view line) {
    struct ControlCommand {
        std::string_view name;
        std::function<void(SimKeyboard&)> run;
    };
    static const ControlCommand kControlCommands[] = {
        {"plug", &SimKeyboard::plug},
        {"unplug", &SimKeyboard::unplug},
        {"bank", &SimKeyboard::pressBankKey},
        {"lighting-changed", &SimKeyboard::changeLightingOnKeyboard},
        {"indicator on", [](SimKeyboard& keyboard) { keyboard.setIndicator(true); }},
        {"indicator off", [](SimKeyboard& keyboard) { keyboard.setIndicator(false); }},
    };
    line = trimmed(line);
    if (const std::optional<int> count = countAfter(line, "corrupt-writes ")) {
        keepOtherBytes(*count);
        return true;
    }
    for (const auto& command : kControlCommands) {
        if (command.name != line) continue;
        command.run(*this);
        return true;
    }
    return false;
}

void SimKeyboard::setLatency(Milliseconds latency) {
    std::lock_guard lock(mutex_);
    latency_ = std::max(latency, Milliseconds{0});
}

void SimKeyboard::dropAnswers(int count) {
    std::lock_guard lock(mutex_);
    faults_.drops = std::max(count, 0);
}

void SimKeyboard::answerWithStatus(std::uint8_t status, int count) {
    std::lock_guard lock(mutex_);
    faults_.forcedStatus = status;
    faults_.forcedStatuses = std::max(count, 0);
}

void SimKeyboard::answerWithCommand(std::uint8_t command, int count) {
    std::lock_guard lock(mutex_);
    faults_.otherCommand = command;
    faults_.otherCommands = std::max(count, 0);
}

void SimKeyboard::delayAnswers(Milliseconds delay, int count) {
    std::lock_guard lock(mutex_);
    faults_.delay = std::max(delay, Milliseconds{0});
    faults_.delays = std::max(count, 0);
}

void SimKeyboard::keepOtherBytes(int count) {
    std::lock_guard lock(mutex_);
    faults_.otherBytes = std::max(count, 0);
}

void SimKeyboard::clearFaults() {
    std::lock_guard lock(mutex_);
    faults_ = {};
}

std::vector<std::uint8_t> SimKeyboard::readMemory(SimArea area) const {
    std::lock_guard lock(mutex_);
    const auto bytes = memory_.area(area);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> SimKeyboard::readMemory(SimArea area, std::size_t offset, std::size_t length) const {
    std::lock_guard lock(mutex_);
    const auto bytes = memory_.area(area);
    if (offset > bytes.size()) return {};
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            bytes.begin() + static_cast<std::ptrdiff_t>(offset + std::min(length, bytes.size() - offset))};
}

bool SimKeyboard::writeMemory(SimArea area, std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    auto target = memory_.area(area);
    if (offset > target.size() || bytes.size() > target.size() - offset) return false;
    std::ranges::copy(bytes, target.begin() + static_cast<std::ptrdiff_t>(offset));
    if (area == SimArea::DeviceInfo) memory_.fitMacroAreaToDeviceInfo();
    return true;
}

SimMemory SimKeyboard::memory() const {
    std::lock_guard lock(mutex_);
    return memory_;
}

void SimKeyboard::resetToFactory() {
    std::lock_guard lock(mutex_);
    memory_ = factorySimMemory();
    updating_ = false;
}

bool SimKeyboard::inUpdate() const {
    std::lock_guard lock(mutex_);
    return updating_;
}

std::vector<std::array<std::uint8_t, 2>> SimKeyboard::statusWords() const {
    std::lock_guard lock(mutex_);
    return statusWords_;
}

}  // namespace quillmar::sim
