#include "CommandSupport.h"
#include "Commands.h"
#include "ConfiguredKeyboard.h"
#include "ConsolePrompt.h"
#include "EnglishTexts.h"
#include "ExitCodes.h"
#include "FileAccess.h"
#include "TerminalProgress.h"

#include "config/DeviceImageDownload.h"
#include "profiles/Backups.h"
#include "profiles/KeyboardReadback.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileTransfer.h"

#include <filesystem>
#include <ostream>

namespace quillmar::ctl {
namespace {

constexpr const char* kReadingKeyboard = "reading the keyboard";

// The one FILE argument of a file command.
const std::string* fileArgument(const Invocation& invocation) {
    if (invocation.arguments.size() != 1 || invocation.arguments[0].empty()) return nullptr;
    return &invocation.arguments[0];
}

int cannot(std::string_view what, const std::string& file, const std::string& reason, std::ostream& err) {
    return complain(std::string(what) + " " + file + ": " + reason, kExitKeyboardError, err);
}

// Checks and loads the file into a configuration of its own, so a refused
// file is told before the keyboard or any file is touched.
bool passesImportCheck(const std::filesystem::path& file, platform::Prompt& prompt, const text::Texts& texts) {
    config::ConfigStore scratch;
    const std::filesystem::path noProfileFile;
    return profiles::importConfigurationFile(scratch, file, noProfileFile, prompt, texts).status ==
           profiles::ImportStatus::Imported;
}

}  // namespace

int runExport(const Invocation& invocation, std::ostream&, std::ostream& err) {
    const std::string* file = fileArgument(invocation);
    if (!file) return wrongArguments(err, "export", "one FILE");
    if (const auto reason = whyUnwritable(*file)) return cannot("cannot write", *file, *reason, err);
    TerminalProgress progress(err);
    auto keyboard = ConfiguredKeyboard::open(invocation, err, progress.steps(kReadingKeyboard));
    if (!keyboard) return kExitKeyboardError;
    if (profiles::readKeyboardIntoFile(keyboard->readSource(), *file, progress.steps("exporting")) != 1) {
        if (const auto reason = whyUnwritable(*file)) return cannot("cannot write", *file, *reason, err);
        return complain("could not read the keyboard", kExitKeyboardError, err);
    }
    return kExitDone;
}

int runImport(const Invocation& invocation, std::ostream&, std::ostream& err) {
    const std::string* file = fileArgument(invocation);
    if (!file) return wrongArguments(err, "import", "one FILE");
    if (const auto reason = whyUnreadable(*file)) return cannot("cannot read", *file, *reason, err);
    {
        ConsolePrompt prompt;
        const EnglishTexts texts;
        if (!passesImportCheck(*file, prompt, texts)) return kExitFileRefused;
    }
    TerminalProgress progress(err);
    auto keyboard = ConfiguredKeyboard::open(invocation, err, progress.steps(kReadingKeyboard));
    if (!keyboard) return kExitKeyboardError;

    if (!keyboard->backUpFirst(profiles::backup_operation::kImport, err)) return kExitKeyboardError;
    KeyboardSession& session = keyboard->session();
    auto held = keyboard->working().lock();
    const auto imported = profiles::importConfigurationFile(keyboard->working(), *file,
                                                            keyboard->userFolder().profileFile(),
                                                            session.prompt(), session.texts());
    if (imported.status != profiles::ImportStatus::Imported) return kExitFileRefused;
    progress.show("downloading to the keyboard");
    const config::DownloadTarget target = keyboard->downloadTarget();
    if (config::takeDownloadSnapshot(keyboard->configuration(), config::DownloadScope::AllProfiles, target) != 1)
        return complain("the keyboard did not take the download", kExitKeyboardError, err);
    return kExitDone;
}

int runDefault(const Invocation& invocation, std::ostream&, std::ostream& err) {
    const std::string* file = fileArgument(invocation);
    if (!file) return wrongArguments(err, "default", "one FILE");
    if (const auto reason = whyUnwritable(*file)) return cannot("cannot write", *file, *reason, err);
    if (profiles::writeDefaultFile(*file) != 1) return cannot("cannot write", *file, "the write failed", err);
    return kExitDone;
}

}  // namespace quillmar::ctl
