#include "ConfiguredKeyboard.h"

#include "CommandSupport.h"
#include "ExitCodes.h"
#include "TerminalProgress.h"

#include "platform/IniUserSettings.h"
#include "platform/LinuxPaths.h"

namespace quillmar::ctl {

ConfiguredKeyboard::ConfiguredKeyboard(std::unique_ptr<KeyboardSession> session, profiles::UserFolder folder)
    : session_(std::move(session)), folder_(std::move(folder)) {}

std::unique_ptr<ConfiguredKeyboard> ConfiguredKeyboard::open(const Invocation& invocation, std::ostream& err,
                                                             const profiles::ReadProgress& progress, Reading reading) {
    auto session = openOrComplain(invocation, err);
    if (!session) return nullptr;
    std::unique_ptr<ConfiguredKeyboard> keyboard(
        new ConfiguredKeyboard(std::move(session), profiles::UserFolder(platform::LinuxPaths())));
    if (reading == Reading::LayoutOnly) return keyboard;
    const profiles::RefreshResult refreshed = profiles::refreshFromKeyboard(
        keyboard->working(), keyboard->folder_, keyboard->readSource(), false, {}, {}, progress);
    if (!refreshed.fromKeyboard) {
        complain("could not read the keyboard's configuration", kExitKeyboardError, err);
        return nullptr;
    }
    if (!refreshed.fileWritten) {
        clearStatusLine(err);
        err << "quillmarctl: warning: could not write " << keyboard->folder_.profileFile().string()
            << "; going on with what the keyboard holds\n";
    }
    return keyboard;
}

profiles::KeyboardReadSource ConfiguredKeyboard::readSource() {
    return profiles::readSourceOf(session_->link(), session_->texts());
}

// The window's download settings hold here too: both write to one keyboard.
config::DownloadTarget ConfiguredKeyboard::downloadTarget() {
    config::DownloadTarget target = config::downloadTargetOf(session_->link(), session_->prompt(), session_->texts());
    config::takeDownloadSettings(target, platform::IniUserSettings(platform::LinuxPaths()));
    return target;
}

int ConfiguredKeyboard::profileOrActive(std::optional<int> asked) {
    return asked ? *asked : commands().GetActiveProfile();
}

}  // namespace quillmar::ctl
