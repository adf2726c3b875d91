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

namespace quillmar::device {

using DefaultKeyTable = std::array<std::uint8_t, kKeyBlockBytes>;

// Keyboard arrival and removal: what the program learns from a keyboard when
// it arrives, and how the window and tray follow the connected count.
class DevicePresence {
public:
    DevicePresence(DeviceCommands& commands, MainWindowLink& window, platform::Prompt& prompt,
                   const text::Texts& texts, LinkTiming timing = {});

    // One presence check for the new keyboard count; runs on a worker thread.
    void check(int count);
    // Makes a waiting check give up; used at shutdown.
    void stop() { stopping_.store(true); }

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
    void arrive();
    void leave();
    bool waitForInitialisedWindow();

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
    mutable std::mutex tableMutex_;
    DefaultKeyTable defaultKeyTable_ = keyboard::kBuiltInDefaultKeyTable;
};

}  // namespace quillmar::device
