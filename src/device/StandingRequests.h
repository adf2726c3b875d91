#pragma once

#include "device/HidService.h"

#include <array>
#include <cstdint>
#include <mutex>

namespace quillmar::device {

enum class GKeyBank { A = 0, B = 1 };

// The library's standing requests: the "CONS" and "CTRL" reads and the "DEL"
// status word write, each replacing the previous one of its kind. Also keeps
// the status word, whose byte 1 bit 0 tells the keyboard the G-key bank.
class StandingRequests {
public:
    using StatusWord = std::array<std::uint8_t, 2>;
    static constexpr StatusWord kInitialStatusWord{0x05, 0x02};

    StandingRequests(const HidService& service, HidlaneCallback callback);

    void RegisterConsumerRead();
    void RegisterCommandRead();
    void SendStatusWord();

    // Flips the bank bit and returns the new bank; the caller sends the word.
    GKeyBank toggleGKeyBank();
    GKeyBank gKeyBank() const;
    StatusWord statusWord() const;

private:
    void registerRead(const HidSelector& selector, std::uint32_t tag, std::uint32_t& unitId);

    const HidService& service_;
    const HidlaneCallback callback_;
    mutable std::mutex mutex_;
    std::uint32_t consumerUnit_ = 0;
    std::uint32_t commandUnit_ = 0;
    std::uint32_t statusUnit_ = 0;
    StatusWord statusWord_ = kInitialStatusWord;
};

}  // namespace quillmar::device
