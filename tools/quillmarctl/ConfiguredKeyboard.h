#pragma once

#include "Invocation.h"
#include "KeyboardSession.h"

#include "config/Configuration.h"
#include "config/DeviceImageDownload.h"
#include "device/KeyboardLock.h"
#include "profiles/KeyboardReadback.h"
#include "profiles/UserFolder.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string_view>

namespace quillmar::ctl {

// The keyboard taken up as the program takes it up on arrival: default
// layout and macro memory from the keyboard, then the working configuration
// rebuilt from what the keyboard holds (which also rewrites the per-user
// profile file). The tool acts on nothing less: a keyboard that cannot be
// read is a failure here, where the window would fall back to defaults.
// A profile file that cannot be written is only warned about: the keyboard
// is what the command acts on. The keyboard stays locked against the user's
// other programs until the object goes, so a command's read and its write
// are one operation.
class ConfiguredKeyboard {
public:
    enum class Reading {
        Configuration,  // the keyboard's configuration, into the profile file
        LayoutOnly,     // for commands that only look: nothing read back, no file written
    };

    // Nothing, with the reason told on err, when the keyboard cannot be
    // reached or read.
    static std::unique_ptr<ConfiguredKeyboard> open(const Invocation& invocation, std::ostream& err,
                                                    const profiles::ReadProgress& progress = {},
                                                    Reading reading = Reading::Configuration);

    KeyboardSession& session() { return *session_; }
    device::DeviceCommands& commands() { return session_->commands(); }
    config::Configuration& configuration() { return configuration_; }
    config::ConfigStore& working() { return configuration_.working; }
    const profiles::UserFolder& userFolder() const { return folder_; }
    profiles::KeyboardReadSource readSource();
    config::DownloadTarget downloadTarget();

    // Keeps the keyboard's configuration as a backup before an operation
    // overwrites it. False, with the reason told on err, when it cannot be
    // kept: the operation must then not go on.
    bool backUpFirst(std::string_view operation, std::ostream& err);

    // The profile asked for, else the keyboard's active one; -1 when the
    // keyboard does not tell.
    int profileOrActive(std::optional<int> asked);

private:
    ConfiguredKeyboard(std::unique_ptr<KeyboardSession> session, profiles::UserFolder folder);

    std::unique_ptr<KeyboardSession> session_;
    device::KeyboardLock keyboardLock_;
    profiles::UserFolder folder_;
    config::Configuration configuration_;
};

}  // namespace quillmar::ctl
