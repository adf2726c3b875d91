#include "CommandSupport.h"
#include "Commands.h"
#include "ConfiguredKeyboard.h"
#include "ConsolePrompt.h"
#include "EnglishTexts.h"
#include "ExitCodes.h"
#include "TerminalProgress.h"

#include "device/HidServiceBinding.h"
#include "lighting/KeyColours.h"
#include "platform/LinuxPaths.h"
#include "profiles/Backups.h"

#include <filesystem>
#include <optional>
#include <ostream>

namespace quillmar::ctl {
namespace {

profiles::UserFolder userFolder() { return profiles::UserFolder(platform::LinuxPaths()); }

std::filesystem::path colourTemplate() {
    return std::filesystem::path(device::programDirectory()) / "Skins" / "UserDengColor_3.userd";
}

// The entry named, checked as an import checks its file, before the keyboard
// is touched; the exit code when it cannot be used.
std::optional<profiles::BackupContent> checkedBackup(const std::string& name, int& failure, std::ostream& err) {
    const auto entry = profiles::Backups(userFolder()).find(name);
    if (!entry) {
        failure = complain("there is no backup " + name + " (quillmarctl backups lists them)", kExitKeyboardError, err);
        return std::nullopt;
    }
    ConsolePrompt prompt;
    const EnglishTexts texts;
    auto content = profiles::loadBackupForRestore(*entry, prompt, texts);
    if (!content) failure = kExitFileRefused;
    return content;
}

}  // namespace

int runBackup(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!invocation.arguments.empty()) return wrongArguments(err, "backup", "no arguments");
    auto keyboard = ConfiguredKeyboard::open(invocation, err, {}, ConfiguredKeyboard::Reading::LayoutOnly);
    if (!keyboard) return kExitKeyboardError;
    const profiles::Backups backups(keyboard->userFolder());
    const auto name = backups.make(keyboard->readSource(), profiles::backup_operation::kOnRequest);
    if (!name) return complain("could not back up the keyboard's configuration into " + backups.path().string(),
                               kExitKeyboardError, err);
    out << *name << "\n";
    return kExitDone;
}

int runBackups(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!invocation.arguments.empty()) return wrongArguments(err, "backups", "no arguments");
    for (const profiles::BackupEntry& entry : profiles::Backups(userFolder()).list())
        out << entry.name << "  " << entry.time << "  " << entry.operation << "\n";
    return kExitDone;
}

int runRestore(const Invocation& invocation, std::ostream&, std::ostream& err) {
    if (invocation.arguments.size() != 1 || invocation.arguments[0].empty())
        return wrongArguments(err, "restore", "one backup NAME");
    int failure = kExitDone;
    const auto content = checkedBackup(invocation.arguments[0], failure, err);
    if (!content) return failure;

    TerminalProgress progress(err);
    auto keyboard = ConfiguredKeyboard::open(invocation, err, progress.steps("reading the keyboard"));
    if (!keyboard) return kExitKeyboardError;
    if (!keyboard->backUpFirst(profiles::backup_operation::kRestore, err)) return kExitKeyboardError;
    const profiles::UserFolder& folder = keyboard->userFolder();
    auto held = keyboard->working().lock();
    if (!profiles::installBackupConfiguration(keyboard->working(), *content, folder.profileFile()))
        return complain("not enough memory for the backup's configuration", kExitKeyboardError, err);
    if (!profiles::restoreColourFiles(*content, folder)) {
        clearStatusLine(err);
        err << "quillmarctl: warning: could not write the colour scheme files in " << folder.path().string() << "\n";
    }
    progress.show("restoring the keyboard");
    lighting::KeyColours colours(keyboard->commands(), folder, colourTemplate());
    if (!profiles::restoreToKeyboard(keyboard->configuration(), content->lighting, keyboard->downloadTarget(), colours))
        return complain("the keyboard did not take the whole backup", kExitKeyboardError, err);
    return kExitDone;
}

}  // namespace quillmar::ctl
