#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "config/ConfigStore.h"
#include "device/DeviceCommands.h"
#include "device/DeviceLink.h"
#include "keyboard/DefaultKeyTable.h"
#include "text/Texts.h"
#include "profiles/UserFolder.h"

namespace quillmar::profiles {

// The keyboard a configuration is read back from, with what it told on
// arrival: the default layout (which says what each position's key is) and
// its macro memory size.
struct KeyboardReadSource {
    device::DeviceCommands& commands;
    keyboard::DefaultKeyTable defaultLayout = keyboard::kBuiltInDefaultKeyTable;
    const text::Texts& texts;      // names of macros the keyboard keeps without one
    std::size_t macroMemoryBytes = 0;  // 0 when not told
};

// The keyboard behind a link as it described itself on arrival: every
// read-back (the window's and quillmarctl's) starts from this one.
KeyboardReadSource readSourceOf(device::DeviceLink& link, const text::Texts& texts);

// Called after each step of a read: done steps out of total.
using ReadProgress = std::function<void(int done, int total)>;

// Reads the three profiles' key blocks and the macro area from the keyboard
// and writes them as a profile file of those macros and no texts (profile
// slot 3 empty). A macro area without its magic gives no macros; one whose
// header claims more than the macro memory is read as far as the memory
// goes (what lies beyond cannot be read anyway). 1 on
// success; 0 when the active profile is unknown, any read fails or the file
// cannot be written, and then the file at the path is left as it was.
int readKeyboardIntoFile(const KeyboardReadSource& source, const std::filesystem::path& path,
                         const ReadProgress& progress = {});

// The read of readKeyboardIntoFile as a profile file image, written nowhere;
// nullopt when the keyboard cannot be read. Holds the keyboard's lock.
std::optional<std::vector<std::uint8_t>> readKeyboardImage(const KeyboardReadSource& source,
                                                           const ReadProgress& progress = {});

struct RefreshResult {
    bool fromKeyboard = false;  // false: the keyboard could not be read; defaults are installed
    bool disableApply = false;  // the caller disables the main window's Apply button
    bool fileWritten = false;   // the profile file now holds what was read
};

// Rebuilds the working configuration from the keyboard on its arrival: makes
// sure the per-user folder exists (prepareColourFiles runs when it is made),
// reads the keyboard, writes what it read to the profile file and takes it
// as the working configuration. A file that cannot be written (a read-only
// folder) does not change what was read: the configuration is the
// keyboard's either way, and fileWritten tells. When the keyboard cannot be
// read the default configuration is installed and the profile file left as
// it is. redrawKeyButtons runs while the working configuration's lock is held.
RefreshResult refreshFromKeyboard(config::ConfigStore& working, const UserFolder& folder,
                                  const KeyboardReadSource& source, bool keepApply,
                                  const std::function<void()>& redrawKeyButtons = {},
                                  const std::function<void()>& prepareColourFiles = {},
                                  const ReadProgress& progress = {});

}  // namespace quillmar::profiles
