#include "CommandSupport.h"
#include "Commands.h"
#include "ConfiguredKeyboard.h"
#include "ConsolePrompt.h"
#include "ExitCodes.h"
#include "TerminalProgress.h"

#include "config/DeviceImageDownload.h"
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
    if (!file) return badUsage(err);
    TerminalProgress progress(err);
    auto keyboard = ConfiguredKeyboard::open(invocation, err, progress.steps(kReadingKeyboard));
    if (!keyboard) return kExitKeyboardError;
    if (profiles::readKeyboardIntoFile(keyboard->readSource(), *file, progress.steps("exporting")) != 1)
        return complain("could not read the keyboard into " + *file, kExitKeyboardError, err);
    return kExitDone;
}

int runImport(const Invocation& invocation, std::ostream&, std::ostream& err) {
    const std::string* file = fileArgument(invocation);
    if (!file) return badUsage(err);
    {
        ConsolePrompt prompt;
        const text::BuiltInTexts texts;
        if (!passesImportCheck(*file, prompt, texts)) return kExitFileRefused;
    }
    TerminalProgress progress(err);
    auto keyboard = ConfiguredKeyboard::open(invocation, err, progress.steps(kReadingKeyboard));
    if (!keyboard) return kExitKeyboardError;

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
    if (!file) return badUsage(err);
    if (profiles::writeDefaultFile(*file) != 1) return complain("could not write " + *file, kExitKeyboardError, err);
    return kExitDone;
}

}  // namespace quillmar::ctl
