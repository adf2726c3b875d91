#pragma once

#include "device/HidService.h"
#include "device/LinkTiming.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

namespace quillmar::device {

// One request on the command interface and its answer: written with
// RequestWriteOne, answered through the "CTRL" standing read, checked and
// retried. One transaction runs at a time in the whole process.
class CommandTransaction {
public:
    static constexpr int kAttempts = 3;

    CommandTransaction(const HidService& service, LinkTiming timing = {});

    // Sends request (padded with zeros to 64 bytes, at most 64 taken) and
    // copies the accepted answer into answer, cut to its size. delivered is the
    // number of bytes copied, 0 unless the result is kSuccess. The answer
    // buffer must hold at least the 8-byte frame header.
    int RunTransaction(std::span<const std::uint8_t> request, std::span<std::uint8_t> answer,
                       std::size_t& delivered);

    // The "CTRL" data hand-over, on the library's thread. Dropped unless a
    // transaction is waiting for its answer.
    void OnCommandAnswer(std::size_t length, const std::uint8_t* bytes);

    // Number of keyboards on the command interface (0 = none).
    int deviceCount() const;

private:
    enum class Verdict { Accept, Retry };

    void armSlot(std::span<std::uint8_t> answer);
    void disarmSlot();
    bool slotArmed();
    std::optional<std::size_t> waitForAnswer();
    Verdict judge(std::span<const std::uint8_t> answer, std::size_t length,
                  std::uint8_t command, bool lastAttempt) const;

    const HidService& service_;
    const LinkTiming timing_;
    std::mutex wholeTransaction_;

    // The response slot and the auto-reset event, guarded by slotMutex_.
    std::mutex slotMutex_;
    std::condition_variable answerArrived_;
    bool awaiting_ = false;
    bool signalled_ = false;
    std::span<std::uint8_t> slot_;
    std::size_t slotDelivered_ = 0;
};

}  // namespace quillmar::device
