#pragma once

#include <cstddef>
#include <functional>

#include "config/ConfigStore.h"
#include "config/Configuration.h"
#include "device/DeviceCommands.h"
#include "keyboard/DefaultKeyTable.h"
#include "platform/Prompt.h"
#include "platform/UserSettings.h"
#include "text/Texts.h"

namespace quillmar::device {
class DeviceLink;
}

namespace quillmar::config {

enum class DownloadScope {
    ActiveProfile,  // the keyboard's active profile only (Apply)
    AllProfiles,    // profiles 0, 1 and 2 (import)
};

// What a download needs: the keyboard's commands, what the keyboard told on
// arrival (macro memory, default layout), and the user's message boxes.
struct DownloadTarget {
    device::DeviceCommands& commands;
    std::size_t macroMemoryBytes = 0;  // 0 until a keyboard has arrived: every download is refused
    keyboard::DefaultKeyTable defaultLayout = keyboard::kBuiltInDefaultKeyTable;
    platform::Prompt& prompt;
    const text::Texts& texts;
    // Told after each command sent: commands done of the download's total.
    std::function<void(int done, int total)> progress = {};
    // Reads back the pieces written after EndUpdate and compares them.
    bool verifyWrites = false;
    // Writes only the pieces that differ from what the keyboard is known to
    // hold (device::KeyboardMirror).
    bool writeChangesOnly = false;
};

// The user's VerifyWrites and WriteChangesOnly (section PROFILES, both 1
// unless set to 0) into the target.
void takeDownloadSettings(DownloadTarget& target, const platform::UserSettings& settings);

// The target of the link's keyboard as it is known now.
DownloadTarget downloadTargetOf(device::DeviceLink& link, platform::Prompt& prompt, const text::Texts& texts);

// Builds the macro area and the key blocks from the snapshot and sends them:
// BeginUpdate, WriteMacroArea, WriteProfileKeys per profile, EndUpdate.
// - Macros too large for the keyboard even without names: EXTRA_MACRO_TOO_LONG
//   is shown and nothing is sent.
// - Names that do not fit are left out, and EXTRA_PROFILE_SPACE_TIGHT is shown
//   after the download.
// - With the active profile unknown, no key block is written.
// - With writeChangesOnly, only the 56-byte pieces the keyboard is not known
//   to hold are sent, in the same order and bracket; when there are none,
//   nothing at all is sent.
// - With verifyWrites, the pieces written are read back after EndUpdate; an
//   area read back other than written is told with DOWNLOAD_VERIFY_KEYS or
//   DOWNLOAD_VERIFY_MACROS and fails the download.
// Without either, 1 when the last key block written was accepted; with
// either, 1 when every piece was taken (and read back as written), and a key
// block was chosen. Else 0. Takes the snapshot's lock for the whole download.
int downloadImage(ConfigStore& snapshot, DownloadScope scope, const DownloadTarget& target);

// Copies the working configuration into the download snapshot (header
// refreshed, launch-program and text-block texts packed as the profile file
// keeps them) and runs downloadImage on it. Nothing is sent when memory runs
// out; the result is then 0. Takes both stores' locks, working first.
int takeDownloadSnapshot(Configuration& configuration, DownloadScope scope, const DownloadTarget& target);

}  // namespace quillmar::config
