#include "device/DevicePresence.h"

#include "device/ResultCode.h"
#include "device/WindowMessages.h"

#include <thread>

namespace quillmar::device {

DevicePresence::DevicePresence(DeviceCommands& commands, MainWindowLink& window,
                               platform::Prompt& prompt, const text::Texts& texts,
                               LinkTiming timing)
    : commands_(commands), window_(window), prompt_(prompt), texts_(texts), timing_(timing) {}

DefaultKeyTable DevicePresence::defaultKeyTable() const {
    std::lock_guard lock(tableMutex_);
    return defaultKeyTable_;
}

bool DevicePresence::announce(int count) {
    std::lock_guard lock(announcedMutex_);
    announcedCount_ = count;
    if (count == 0) leftSinceTaken_ = true;
    if (checkRunning_) return false;
    checkRunning_ = true;
    return true;
}

void DevicePresence::runAnnouncedChecks() {
    for (;;) {
        int count = 0;
        bool left = false;
        {
            std::lock_guard lock(announcedMutex_);
            if (!announcedCount_ || stopping_.load()) {
                checkRunning_ = false;
                return;
            }
            count = *announcedCount_;
            left = leftSinceTaken_;
            announcedCount_.reset();
            leftSinceTaken_ = false;
        }
        // A keyboard that went and came back is taken up afresh: it may hold
        // something else now, or have left in the middle of being read.
        if (left && count > 0) check(0);
        check(count);
    }
}

bool DevicePresence::superseded() const {
    std::lock_guard lock(announcedMutex_);
    return announcedCount_.has_value();
}

void DevicePresence::check(int count) {
    if (count == connectedCount_.load()) return;
    if (count > 0) {
        // A keyboard that left while it was being read is not taken up; the
        // newer count decides.
        if (!arrive()) return;
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

bool DevicePresence::arrive() {
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
    if (superseded()) return false;
    window_.sendMessage(kMessageReloadProfile, kTagProf, 0);
    return true;
}

void DevicePresence::leave() {
    commands_.forgetActiveProfile();
    // Another program may write to it while it is away.
    commands_.mirror().forget();
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
