#include "device/DevicePresence.h"

#include "device/ResultCode.h"
#include "device/WindowMessages.h"

#include <thread>

namespace quillmar::device {

DevicePresence::DevicePresence(DeviceCommands& commands, MainWindowLink& window,
                               platform::Prompt& prompt, const platform::Texts& texts,
                               LinkTiming timing)
    : commands_(commands), window_(window), prompt_(prompt), texts_(texts), timing_(timing) {}

DefaultKeyTable DevicePresence::defaultKeyTable() const {
    std::lock_guard lock(tableMutex_);
    return defaultKeyTable_;
}

void DevicePresence::stop() {
    {
        std::lock_guard lock(turnMutex_);
        stopping_.store(true);
    }
    turnChanged_.notify_all();
}

void DevicePresence::check(int count, std::uint64_t ticket) {
    {
        std::unique_lock lock(turnMutex_);
        turnChanged_.wait(lock, [&] { return servingTicket_ == ticket || stopping_.load(); });
        if (servingTicket_ != ticket) return;  // shutting down
    }
    run(count);
    {
        std::lock_guard lock(turnMutex_);
        ++servingTicket_;
    }
    turnChanged_.notify_all();
}

void DevicePresence::run(int count) {
    if (count == connectedCount_.load()) return;
    if (count > 0) {
        arrive();
    } else if (connectedCount_.load() != 0) {
        leave();
    }
    if (!waitForInitialisedWindow()) return;

    const int icon = count > 0 ? kIconKeyboard : kIconNoKeyboard;
    window_.setTrayIcon(icon);
    presenceIcon_.store(icon);
    connectedCount_.store(count);
    if (!autoShowDone_.exchange(true) && count > 0) window_.postMessage(kMessageOpen, kTagOpen, 0);
}

void DevicePresence::arrive() {
    DefaultKeyTable table{};
    if (commands_.ReadDefaultLayout(table) == kSuccess) {
        std::lock_guard lock(tableMutex_);
        defaultKeyTable_ = table;
    } else {
        prompt_.showMessage(texts_.text("MAIN_DEFAULT_MATRIX_PROMPT",
                                        u"Reads the default keyboard layout failure"));
    }
    std::array<std::uint8_t, kDeviceInfoBytes> info{};
    if (commands_.ReadDeviceInfo(info) == kSuccess) {
        macroMemorySize_.store(info[kDeviceInfoMacroMemory] * 128);
    }
    window_.sendMessage(kMessageReloadProfile, kTagProf, 0);
}

void DevicePresence::leave() {
    commands_.forgetActiveProfile();
    window_.sendMessage(kMessageCloseEditors, 0, 0);
    window_.hide();
}

bool DevicePresence::waitForInitialisedWindow() {
    while (!window_.isInitialised()) {
        if (stopping_.load()) return false;
        std::this_thread::sleep_for(timing_.initialisedPoll);
    }
    return true;
}

}  // namespace quillmar::device
