#include "device/CommandTransaction.h"

#include "device/KeyboardLock.h"

#include "device/DeviceReport.h"
#include "device/ResultCode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <thread>

namespace quillmar::device {

CommandTransaction::CommandTransaction(const HidService& service, LinkTiming timing)
    : service_(service), timing_(timing) {}

int CommandTransaction::deviceCount() const {
    const HidSelector selector = commandSelector();
    const auto check = hidlane_check_value(&selector, nullptr, 0, nullptr, 0);
    return std::max(0, service_.RequestGetDeviceCount(&selector, nullptr, 0, check, nullptr));
}

int CommandTransaction::RunTransaction(std::span<const std::uint8_t> request,
                                       std::span<std::uint8_t> answer, std::size_t& delivered) {
    // The keyboard's lock first: an operation holding it may run transactions
    // on its thread while others wait, never the other way round.
    const KeyboardLock keyboard;
    std::lock_guard whole(wholeTransaction_);
    delivered = 0;
    if (deviceCount() == 0) return kNoKeyboard;

    std::array<std::uint8_t, DeviceReport::kSize> sendBuffer{};
    std::copy_n(request.begin(), std::min(request.size(), sendBuffer.size()), sendBuffer.begin());
    const HidSelector selector = commandSelector();
    const auto check =
        hidlane_check_value(&selector, nullptr, 0, sendBuffer.data(), sendBuffer.size());

    for (int attempt = 1;; ++attempt) {
        if (slotArmed()) {
            std::this_thread::sleep_for(timing_.busyPause);
            disarmSlot();
        }
        armSlot(answer);
        if (service_.RequestWriteOne(&selector, nullptr, 0, sendBuffer.data(), sendBuffer.size(),
                                     check, nullptr) <= 0) {
            disarmSlot();
            return kWriteRefused;
        }
        const auto length = waitForAnswer();
        const bool lastAttempt = attempt == kAttempts;
        if (length && judge(answer, *length, sendBuffer[3], lastAttempt) == Verdict::Accept) {
            delivered = *length;
            return kSuccess;
        }
        if (lastAttempt) return kNoAnswer;
        std::this_thread::sleep_for(timing_.retryPause);
    }
}

// An answer counts only when it is for the same command; a busy or error
// status is asked again, and after the last attempt handed to the caller.
CommandTransaction::Verdict CommandTransaction::judge(std::span<const std::uint8_t> answer,
                                                      std::size_t length, std::uint8_t command,
                                                      bool lastAttempt) const {
    if (length < DeviceReport::kHeaderSize || answer[3] != command) return Verdict::Retry;
    const std::uint8_t status = answer[7];
    const bool failed =
        status == DeviceReport::kStatusFailed || status == DeviceReport::kStatusRejected;
    return failed && !lastAttempt ? Verdict::Retry : Verdict::Accept;
}

void CommandTransaction::armSlot(std::span<std::uint8_t> answer) {
    std::lock_guard lock(slotMutex_);
    slot_ = answer;
    slotDelivered_ = 0;
    signalled_ = false;
    awaiting_ = true;
}

void CommandTransaction::disarmSlot() {
    std::lock_guard lock(slotMutex_);
    awaiting_ = false;
    slot_ = {};
}

bool CommandTransaction::slotArmed() {
    std::lock_guard lock(slotMutex_);
    return awaiting_;
}

// The slot is disarmed in the same step as the answer is taken or the wait
// gives up, so a late answer can never land in a buffer that is being read or
// has gone.
std::optional<std::size_t> CommandTransaction::waitForAnswer() {
    std::unique_lock lock(slotMutex_);
    const bool answered =
        answerArrived_.wait_for(lock, timing_.answerWait, [this] { return signalled_; });
    signalled_ = false;
    awaiting_ = false;
    slot_ = {};
    if (!answered) return std::nullopt;
    return slotDelivered_;
}

void CommandTransaction::OnCommandAnswer(std::size_t length, const std::uint8_t* bytes) {
    std::lock_guard lock(slotMutex_);
    if (!awaiting_ || signalled_) return;
    const std::size_t taken = bytes ? std::min(length, slot_.size()) : 0;
    if (taken > 0) std::memcpy(slot_.data(), bytes, taken);
    slotDelivered_ = taken;
    signalled_ = true;
    answerArrived_.notify_one();
}

}  // namespace quillmar::device
