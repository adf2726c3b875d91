#pragma once

#include "device/DeviceCommands.h"
#include "device/LinkTiming.h"
#include "device/MainWindowLink.h"
#include "platform/Prompt.h"
#include "text/Texts.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

namespace quillmar::device {

using DefaultKeyTable = std::array<std::uint8_t, kKeyBlockBytes>;

// Keyboard arrival and removal: what the program learns from a keyboard when
// it arrives, and how the window and tray follow the connected count.
class DevicePresence {
public:
    DevicePresence(DeviceCommands& commands, MainWindowLink& window, platform::Prompt& prompt,
                   const text::Texts& texts, LinkTiming timing = {});

    // A new keyboard count was announced. Checks run one at a time and each
    // acts on the newest count, so the state after any run of notices is the
    // state of the last one. True when the caller must start a worker thread
    // running runAnnouncedChecks(); false when one is already running.
    bool announce(int count);
    // The worker's loop: checks the newest announced count until none is left.
    void runAnnouncedChecks();
    // One presence check for the keyboard count.
    void check(int count);
    // Makes a waiting check give up; used at shutdown.
    void stop() { stopping_.store(true); }

    int connectedCount() const { return connectedCount_.load(); }
    // Whether announced counts are still being checked.
    bool isChecking() const;
    int macroMemorySize() const { return macroMemorySize_.load(); }
    DefaultKeyTable defaultKeyTable() const;
    // The tray icon that shows presence (141 or 128), restored after the indicator.
    int presenceIcon() const { return presenceIcon_.load(); }

    // Once set, a keyboard's arrival no longer shows the window. Set by the
    // start option, by a start without keyboard, and after the first arrival.
    bool autoShowDone() const { return autoShowDone_.load(); }
    void setAutoShowDone() { autoShowDone_.store(true); }

private:
    // False when a newer count came in before the window was told.
    bool arrive();
    void leave();
    bool waitForInitialisedWindow();
    bool superseded() const;

    DeviceCommands& commands_;
    MainWindowLink& window_;
    platform::Prompt& prompt_;
    const text::Texts& texts_;
    const LinkTiming timing_;

    std::atomic<bool> stopping_{false};
    std::atomic<int> connectedCount_{0};
    std::atomic<int> macroMemorySize_{0};
    std::atomic<int> presenceIcon_{128};
    std::atomic<bool> autoShowDone_{false};
    mutable std::mutex announcedMutex_;
    std::optional<int> announcedCount_;
    bool leftSinceTaken_ = false;  // a 0 was announced after the last count taken
    bool checkRunning_ = false;
    mutable std::mutex tableMutex_;
    DefaultKeyTable defaultKeyTable_ = keyboard::kBuiltInDefaultKeyTable;
};

}  // namespace quillmar::device
