#pragma once

#include "device/DeviceCommands.h"
#include "device/LinkTiming.h"
#include "device/MainWindowLink.h"
#include "platform/Prompt.h"
#include "platform/Texts.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace quillmar::device {

using DefaultKeyTable = std::array<std::uint8_t, kKeyBlockBytes>;

// Keyboard arrival and removal: what the program learns from a keyboard when
// it arrives, and how the window and tray follow the connected count.
class DevicePresence {
public:
    DevicePresence(DeviceCommands& commands, MainWindowLink& window, platform::Prompt& prompt,
                   const platform::Texts& texts, LinkTiming timing = {});

    // A place in line for the check of a count, taken where the counts arrive, in their order.
    std::uint64_t enqueue() { return nextTicket_.fetch_add(1); }
    // One presence check for the new keyboard count; runs on a worker thread. Checks run one
    // after another in the order of their places, so each compares with the count the one
    // before it left: a keyboard back before its removal was handled is read again.
    void check(int count, std::uint64_t ticket);
    void check(int count) { check(count, enqueue()); }
    // Makes a waiting check give up; used at shutdown.
    void stop();

    int connectedCount() const { return connectedCount_.load(); }
    int macroMemorySize() const { return macroMemorySize_.load(); }
    DefaultKeyTable defaultKeyTable() const;
    // The tray icon that shows presence (141 or 128), restored after the indicator.
    int presenceIcon() const { return presenceIcon_.load(); }

    // Once set, a keyboard's arrival no longer shows the window. Set by the
    // start option, by a start without keyboard, and after the first arrival.
    bool autoShowDone() const { return autoShowDone_.load(); }
    void setAutoShowDone() { autoShowDone_.store(true); }

private:
    void run(int count);
    void arrive();
    void leave();
    bool waitForInitialisedWindow();

    DeviceCommands& commands_;
    MainWindowLink& window_;
    platform::Prompt& prompt_;
    const platform::Texts& texts_;
    const LinkTiming timing_;

    std::atomic<bool> stopping_{false};
    std::atomic<int> connectedCount_{0};
    std::atomic<int> macroMemorySize_{0};
    std::atomic<int> presenceIcon_{128};
    std::atomic<bool> autoShowDone_{false};
    std::atomic<std::uint64_t> nextTicket_{0};
    std::mutex turnMutex_;
    std::condition_variable turnChanged_;
    std::uint64_t servingTicket_ = 0;
    mutable std::mutex tableMutex_;
    DefaultKeyTable defaultKeyTable_ = keyboard::kBuiltInDefaultKeyTable;
};

}  // namespace quillmar::device
