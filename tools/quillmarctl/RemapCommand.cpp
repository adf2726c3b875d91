#include "ArgumentParsing.h"
#include "AssignmentArguments.h"
#include "CommandSupport.h"
#include "Commands.h"
#include "ConfiguredKeyboard.h"
#include "ExitCodes.h"

#include "config/DeviceImageDownload.h"
#include "device/ResultCode.h"
#include "profiles/ProfileFile.h"

#include <ostream>

namespace quillmar::ctl {
namespace {

// The macro a key is to play, when the keyboard holds one of that id.
const config::MacroRecord* macroWithId(const config::ConfigStore& working, std::uint32_t id) {
    for (const config::MacroRecord& macro : working.macros())
        if (macro.id == id) return &macro;
    return nullptr;
}

// Saves the working configuration and downloads the profile. Only the
// keyboard's active profile can be written alone; another one goes with all
// three, which carry what was just read from the keyboard.
int saveAndDownload(ConfiguredKeyboard& keyboard, int profile) {
    profiles::saveProfileFile(keyboard.working(), keyboard.userFolder().profileFile());
    const auto scope = profile == keyboard.commands().GetActiveProfile() ? config::DownloadScope::ActiveProfile
                                                                          : config::DownloadScope::AllProfiles;
    return config::takeDownloadSnapshot(keyboard.configuration(), scope, keyboard.downloadTarget());
}

}  // namespace

int runRemap(const Invocation& invocation, std::ostream&, std::ostream& err) {
    std::vector<std::string> arguments = invocation.arguments;
    std::optional<int> askedProfile;
    if (!takeProfileOption(arguments, askedProfile)) return badUsage(err, kProfileRange);
    if (arguments.size() != 2) return wrongArguments(err, "remap", "a KEY and a TARGET");
    const auto target = parseAssignmentTarget(arguments[1]);
    if (!target) {
        const std::string why = whyNotTarget(arguments[1]);
        return badUsage(err, why, why.starts_with("unknown key") ? "quillmarctl keys" : "quillmarctl --help");
    }
    if (const auto gKey = gKeyNumber(arguments[0]))
        return complain(whyNotGKey(*gKey, *target), kExitKeyboardError, err);
    if (!keyCodeOfName(arguments[0]))
        return badUsage(err, "unknown key '" + arguments[0] + "'", "quillmarctl keys");

    auto keyboard = ConfiguredKeyboard::open(invocation, err);
    if (!keyboard) return kExitKeyboardError;
    const auto slot = slotOfKeyName(arguments[0], keyboard->session().presence().defaultKeyTable());
    if (!slot) return badUsage(err, "the keyboard has no place for '" + arguments[0] + "', so it cannot be remapped", "quillmarctl keys");
    const int profile = keyboard->profileOrActive(askedProfile);
    if (profile < 0) return keyboardError(device::kNoAnswer, err);

    auto held = keyboard->working().lock();
    std::uint16_t loopCount = 0;
    if (target->type == keyboard::AssignmentType::PlayMacro) {
        const config::MacroRecord* macro = macroWithId(keyboard->working(), target->value);
        if (!macro) return badUsage(err, "the keyboard has no macro " + std::to_string(target->value));
        loopCount = macro->loopCount;
    }
    auto& record = keyboard->working().records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, *slot))];
    assignTarget(record, *slot, *target, loopCount);
    if (saveAndDownload(*keyboard, profile) != 1)
        return complain("the keyboard did not take the download", kExitKeyboardError, err);
    return kExitDone;
}

}  // namespace quillmar::ctl
