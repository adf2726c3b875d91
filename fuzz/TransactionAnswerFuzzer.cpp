// The keyboard answering every request with bytes from the input: silence,
// short or overlong answers, answers to other commands, busy and error
// statuses, refused writes, no keyboard. The command operations must return
// only their documented codes (the ones a model of the transaction expects),
// write at most three times per request, and copy read data into the caller's
// buffer only on success and exactly as answered.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "device/CommandTransaction.h"
#include "device/DeviceCommands.h"
#include "device/DeviceReport.h"
#include "device/ResultCode.h"

namespace {

using namespace quillmar::device;
using Report = std::array<std::uint8_t, DeviceReport::kSize>;

// How the keyboard answers one write; the first byte of each answer chooses.
enum class Answer : std::uint8_t { Echo, Silence, Status, Foreign, Raw, Twice, Count };

// The keyboard, and what a transaction over it should have ended with. Answers
// are handed over inside RequestWriteOne, before the transaction waits, so
// no answer thread is needed and the waits can be zero.
struct FuzzKeyboard {
    FuzzedDataProvider* input = nullptr;
    CommandTransaction* transaction = nullptr;
    bool attached = true;
    int writesInExchange = 0;
    int expected = kNoKeyboard;   // the model's result of the exchange so far
    Report accepted{};            // the answer the model accepted, zero-padded
    std::vector<int> results;     // one per exchange of the current operation
    std::vector<Report> answers;  // the accepted answer of each exchange

    void endExchange() {
        if (writesInExchange > CommandTransaction::kAttempts) std::abort();
        results.push_back(expected);
        answers.push_back(accepted);
        writesInExchange = 0;
        expected = kNoKeyboard;
        accepted = {};
    }
};

FuzzKeyboard gKeyboard;

std::vector<std::uint8_t> answerTo(const Report& request, Answer kind) {
    FuzzedDataProvider& in = *gKeyboard.input;
    std::vector<std::uint8_t> answer(request.begin(), request.end());
    switch (kind) {
    case Answer::Echo:
        answer[7] = 0;
        break;
    case Answer::Status:
        answer[7] = in.PickValueInArray<std::uint8_t>({DeviceReport::kStatusFailed, DeviceReport::kStatusRejected,
                                                      in.ConsumeIntegral<std::uint8_t>()});
        break;
    case Answer::Foreign:
        answer[3] = static_cast<std::uint8_t>(answer[3] + 1 + in.ConsumeIntegralInRange<int>(0, 254));
        break;
    default:
        answer = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 80));
        break;
    }
    if (answer.size() == DeviceReport::kSize) {
        const auto data = in.ConsumeBytes<std::uint8_t>(DeviceReport::kMaxData);
        std::copy(data.begin(), data.end(), answer.begin() + DeviceReport::kHeaderSize);
    }
    return answer;
}

// The transaction's rule: an answer counts when it holds a header and names
// the request's command; a failed status is asked again until the last write.
void judge(const Report& request, const std::vector<std::uint8_t>& answer) {
    FuzzKeyboard& k = gKeyboard;
    const bool last = k.writesInExchange == CommandTransaction::kAttempts;
    k.expected = kNoAnswer;
    if (answer.size() < DeviceReport::kHeaderSize || answer[3] != request[3]) return;
    const std::uint8_t status = answer[7];
    const bool failed = status == DeviceReport::kStatusFailed || status == DeviceReport::kStatusRejected;
    if (failed && !last) return;
    k.expected = status == DeviceReport::kStatusFailed     ? kStatusFailed
                 : status == DeviceReport::kStatusRejected ? kStatusRejected
                                                           : kSuccess;
    k.accepted = {};
    std::copy_n(answer.begin(), std::min(answer.size(), k.accepted.size()), k.accepted.begin());
}

int getDeviceCount(const HidSelector*, HidlaneCallback, uint32_t, uint32_t, uint32_t*) {
    gKeyboard.expected = gKeyboard.attached ? kNoAnswer : kNoKeyboard;
    return gKeyboard.attached ? 1 : 0;
}

int writeOne(const HidSelector*, HidlaneCallback, uint32_t, const uint8_t* data, uint32_t length,
             uint32_t, uint32_t*) {
    FuzzKeyboard& k = gKeyboard;
    if (length != DeviceReport::kSize) std::abort();
    ++k.writesInExchange;
    FuzzedDataProvider& in = *k.input;
    const auto choice = in.ConsumeIntegral<std::uint8_t>();
    if (choice == 0xFF) {
        k.expected = kWriteRefused;
        return 0;
    }
    Report request{};
    std::copy_n(data, request.size(), request.begin());
    const auto kind = static_cast<Answer>(choice % static_cast<std::uint8_t>(Answer::Count));
    if (kind == Answer::Silence) {
        k.expected = kNoAnswer;
        return 1;
    }
    const auto answer = answerTo(request, kind);
    judge(request, answer);
    k.transaction->OnCommandAnswer(answer.size(), answer.data());
    // A second answer to the same write is dropped.
    if (kind == Answer::Twice) k.transaction->OnCommandAnswer(request.size(), request.data());
    return 1;
}

HidService fuzzService() {
    HidService service;
    service.RequestGetDeviceCount = getDeviceCount;
    service.RequestWriteOne = writeOne;
    return service;
}

// The result the model expects of an operation: the first exchange that did
// not succeed ends it.
int expectedResult() {
    for (int result : gKeyboard.results)
        if (result != kSuccess) return result;
    return kSuccess;
}

// An operation that sends nothing ends with success (nothing to send) or
// with its refusal of the caller's arguments.
void checkResult(int result) {
    const bool sentNothing = gKeyboard.results.empty();
    if (sentNothing ? result != kSuccess && result != kInvalidRequest && result != kBadProfile
                    : result != expectedResult())
        std::abort();
}

constexpr std::uint8_t kUntouched = 0xA5;

// A read's buffer: untouched unless the read succeeded, then the answers'
// data pieces in order.
void checkRead(int result, std::span<const std::uint8_t> buffer) {
    checkResult(result);
    if (result != kSuccess) {
        if (std::any_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b != kUntouched; }))
            std::abort();
        return;
    }
    for (std::size_t offset = 0, piece = 0; offset < buffer.size(); offset += DeviceReport::kMaxData, ++piece) {
        const std::size_t length = std::min(DeviceReport::kMaxData, buffer.size() - offset);
        const auto& answer = gKeyboard.answers.at(piece);
        if (!std::equal(buffer.begin() + offset, buffer.begin() + offset + length,
                        answer.begin() + DeviceReport::kHeaderSize))
            std::abort();
    }
}

bool knownCode(int result) {
    return result == kSuccess || result == kNoKeyboard || result == kWriteRefused || result == kNoAnswer ||
           result == kInvalidRequest || result == kStatusFailed || result == kStatusRejected ||
           result == kBadProfile;
}

void runOperation(DeviceCommands& commands, FuzzedDataProvider& in) {
    std::vector<std::uint8_t> buffer;
    const auto fresh = [&buffer](std::size_t size) {
        buffer.assign(size, kUntouched);
        return std::span<std::uint8_t>(buffer);
    };
    const auto written = [&in](std::size_t size) {
        auto bytes = in.ConsumeBytes<std::uint8_t>(size);
        bytes.resize(size);
        return bytes;
    };
    const int profile = in.ConsumeIntegralInRange<int>(-1, kProfileCount);
    int result = kSuccess;
    switch (in.ConsumeIntegralInRange<int>(0, 13)) {
    case 0: checkRead(result = commands.ReadDeviceInfo(fresh(kDeviceInfoBytes).first<kDeviceInfoBytes>()), buffer); break;
    case 1: {
        const auto address = in.ConsumeIntegral<std::uint16_t>();
        checkRead(result = commands.ReadSettings(address, fresh(in.ConsumeIntegralInRange<std::size_t>(0, 60))), buffer);
        break;
    }
    case 2: checkRead(result = commands.ReadProfileKeys(profile, fresh(kKeyBlockBytes).first<kKeyBlockBytes>()), buffer); break;
    case 3: checkRead(result = commands.ReadDefaultLayout(fresh(kKeyBlockBytes).first<kKeyBlockBytes>()), buffer); break;
    case 4: checkRead(result = commands.ReadMacroArea(fresh(in.ConsumeIntegralInRange<std::size_t>(0, 2048))), buffer); break;
    case 5: {
        const auto bytes = written(kDeviceInfoBytes);
        checkResult(result = commands.WriteDeviceInfo(std::span(bytes).first<kDeviceInfoBytes>()));
        break;
    }
    case 6: {
        const auto address = in.ConsumeIntegral<std::uint16_t>();
        const auto bytes = written(in.ConsumeIntegralInRange<std::size_t>(0, 60));
        result = commands.WriteSettings(address, bytes);
        if ((bytes.empty() || bytes.size() > DeviceReport::kMaxData) && result != kInvalidRequest) std::abort();
        checkResult(result);
        break;
    }
    case 7: {
        const auto bytes = written(kKeyBlockBytes);
        checkResult(result = commands.WriteProfileKeys(profile, std::span(bytes).first<kKeyBlockBytes>()));
        break;
    }
    case 8: checkResult(result = commands.WriteMacroArea(written(in.ConsumeIntegralInRange<std::size_t>(0, 2048)))); break;
    case 9: {
        const int firstKey = in.ConsumeIntegralInRange<int>(-1, 180);
        checkResult(result = commands.WriteKeyColours(profile, firstKey, written(in.ConsumeIntegralInRange<std::size_t>(0, 60))));
        break;
    }
    case 10: checkResult(result = commands.BeginUpdate()); break;
    case 11: checkResult(result = commands.EndUpdate()); break;
    case 12: {
        const int active = commands.GetActiveProfile();
        if (active < -1 || active >= kProfileCount) std::abort();
        break;
    }
    default: checkResult(result = commands.SetActiveProfile(profile)); break;
    }
    if (!knownCode(result)) std::abort();
    if (result == kBadProfile && (profile >= 0 && profile < kProfileCount)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The keyboard lock lives in a runtime folder of this run alone.
    static std::string folder = (std::filesystem::temp_directory_path() / "quillmar-fuzz-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const HidService service = fuzzService();
    constexpr LinkTiming kNoWaiting{std::chrono::milliseconds{0}, std::chrono::milliseconds{0},
                                    std::chrono::milliseconds{0}, std::chrono::milliseconds{0},
                                    std::chrono::milliseconds{0}, std::chrono::milliseconds{0}};
    CommandTransaction transaction(service, kNoWaiting);
    DeviceCommands commands(transaction, kNoWaiting);
    gKeyboard = FuzzKeyboard{};
    gKeyboard.input = &in;
    gKeyboard.transaction = &transaction;
    commands.setExchangeObserver([] { gKeyboard.endExchange(); });

    for (int operation = 0; operation < 12 && in.remaining_bytes() > 0; ++operation) {
        gKeyboard.attached = in.ConsumeIntegral<std::uint8_t>() != 0xFF;
        gKeyboard.results.clear();
        gKeyboard.answers.clear();
        runOperation(commands, in);
    }
    return 0;
}
