#include "ArgumentParsing.h"
#include "CommandSupport.h"
#include "Commands.h"
#include "ConfiguredKeyboard.h"
#include "ExitCodes.h"
#include "MacroSteps.h"

#include "config/AssignmentBlock.h"
#include "config/DeviceImageDownload.h"
#include "config/MacroCommit.h"
#include "config/MacroPositions.h"
#include "keyboard/KeyInfoTable.h"
#include "keyboard/KeySlots.h"
#include "profiles/Backups.h"
#include "profiles/ProfileFile.h"
#include "text/Utf.h"

#include <algorithm>
#include <ostream>

namespace quillmar::ctl {
namespace {

using keyboard::AssignmentType;

const config::MacroRecord* macroWithId(const config::ConfigStore& working, std::uint32_t id) {
    const auto& macros = working.macros();
    const auto found = std::find_if(macros.begin(), macros.end(), [&](const auto& macro) { return macro.id == id; });
    return found == macros.end() ? nullptr : &*found;
}

std::string slotName(int slot) {
    if (keyboard::isGKeySlot(slot)) {
        if (const auto n = keyboard::gKeyNumberOfSlot(slot, keyboard::GKeyBank::A)) return "G" + std::to_string(*n);
        return "G" + std::to_string(*keyboard::gKeyNumberOfSlot(slot, keyboard::GKeyBank::B)) + " (bank B)";
    }
    return text::toUtf8(keyboard::keyInfoOf(keyboard::keyCodeOf(static_cast<keyboard::KeyIndex>(slot))).name);
}

// "Profile2 A, Profile3 G1": the keys of the keyboard's profiles that play the macro.
std::string keysPlaying(const config::ConfigStore& working, std::uint32_t id) {
    std::string keys;
    for (int profile = 0; profile < 3; ++profile) {
        for (int slot = 0; slot < keyboard::kSlotsPerProfile; ++slot) {
            const auto& record = working.records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, slot))];
            if (record.type != AssignmentType::PlayMacro || record.value != id) continue;
            if (!keys.empty()) keys += ", ";
            keys += "Profile" + std::to_string(profile + 1) + " " + slotName(slot);
        }
    }
    return keys;
}

// Makes the edited list the keyboard's macros under the editor's commit
// rules, saves the profile file and downloads: every profile when a key of a
// profile other than the active one plays a macro that moved or lost its
// macro, else the active one.
int commitAndDownload(ConfiguredKeyboard& keyboard, config::MacroList& edited, std::ostream& err) {
    config::ConfigStore& working = keyboard.working();
    const int active = keyboard.commands().GetActiveProfile();
    const config::MacroPositions before = config::macroPositionsOf(working.macros());
    bool otherProfileReset = false;
    const auto committed = config::commitMacros(working, edited, [&](int index) {
        if (index / keyboard::kSlotsPerProfile != active) otherProfileReset = true;
    });
    if (committed.status != config::MacroCommitStatus::Committed)
        return complain("the macros could not be stored", kExitKeyboardError, err);
    const bool allProfiles = active < 0 || otherProfileReset ||
                             config::playedMacrosMoved(working.records(), before,
                                                       config::macroPositionsOf(working.macros()), active);
    profiles::saveProfileFile(working, keyboard.userFolder().profileFile());
    const auto scope = allProfiles ? config::DownloadScope::AllProfiles : config::DownloadScope::ActiveProfile;
    if (config::takeDownloadSnapshot(keyboard.configuration(), scope, keyboard.downloadTarget()) != 1)
        return complain("the keyboard did not take the download", kExitKeyboardError, err);
    return kExitDone;
}

std::string tooManyMacrosText(const text::Texts& texts) {
    std::string text = text::toUtf8(texts.text("MACRO_ERR_MAX", u"The maximum number of macro: %d   "));
    if (const auto at = text.find("%d"); at != std::string::npos) text.replace(at, 2, std::to_string(config::kMaxMacros));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::optional<int> takeMacroId(const std::string& text) {
    return parseNumberInRange(text, config::kFirstMacroId, config::kLastMacroId);
}

int listMacros(const Invocation& invocation, const std::vector<std::string>& arguments, std::ostream& out,
               std::ostream& err) {
    if (!arguments.empty()) return wrongArguments(err, "macro list", "no arguments");
    auto keyboard = ConfiguredKeyboard::open(invocation, err);
    if (!keyboard) return kExitKeyboardError;
    const auto held = keyboard->working().lock();
    for (const config::MacroRecord& macro : keyboard->working().macros()) out << describeMacro(macro) << "\n";
    return kExitDone;
}

int showMacro(const Invocation& invocation, const std::vector<std::string>& arguments, std::ostream& out,
              std::ostream& err) {
    if (arguments.size() != 1) return wrongArguments(err, "macro show", "one macro id");
    const auto id = takeMacroId(arguments[0]);
    if (!id) return badUsage(err, "a macro id is 1 to 100");
    auto keyboard = ConfiguredKeyboard::open(invocation, err);
    if (!keyboard) return kExitKeyboardError;
    const auto held = keyboard->working().lock();
    const config::MacroRecord* macro = macroWithId(keyboard->working(), static_cast<std::uint32_t>(*id));
    if (!macro) return badUsage(err, "the keyboard has no macro " + arguments[0]);
    out << describeMacro(*macro) << "\n";
    for (const config::MacroAction& action : config::macroActions(*macro)) out << formatMacroStep(action) << "\n";
    return kExitDone;
}

int addMacro(const Invocation& invocation, std::vector<std::string> arguments, std::ostream& out, std::ostream& err) {
    int loopCount = 1;
    if (!arguments.empty() && arguments[0].starts_with("--loop")) {
        std::string value;
        if (arguments[0] == "--loop" && arguments.size() > 1) {
            value = arguments[1];
            arguments.erase(arguments.begin(), arguments.begin() + 2);
        } else if (arguments[0].starts_with("--loop=")) {
            value = arguments[0].substr(7);
            arguments.erase(arguments.begin());
        }
        const auto parsed = parseNumberInRange(value, 1, 255);
        if (!parsed) return badUsage(err, "the loop count is 1 to 255");
        loopCount = *parsed;
    }
    if (arguments.size() < 2 || arguments[0].empty()) return wrongArguments(err, "macro add", "a name and at least one step");
    std::vector<config::MacroAction> actions;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const ParsedStep step = parseMacroStep(arguments[i]);
        if (step.action) {
            actions.push_back(*step.action);
            continue;
        }
        switch (step.error) {
        case StepError::DelayTooLong: return badUsage(err, "a delay is at most 40000 ms: '" + arguments[i] + "'");
        case StepError::UnknownKey: return badUsage(err, "unknown key in '" + arguments[i] + "'");
        case StepError::Malformed: return badUsage(err, "a step is +KEY:MS or -KEY:MS, not '" + arguments[i] + "'");
        }
    }

    auto keyboard = ConfiguredKeyboard::open(invocation, err);
    if (!keyboard) return kExitKeyboardError;
    const auto held = keyboard->working().lock();
    config::MacroList edited = keyboard->working().macros();
    if (edited.size() >= static_cast<std::size_t>(config::kMaxMacros))
        return complain(tooManyMacrosText(keyboard->session().texts()), kExitKeyboardError, err);
    if (actions.size() > static_cast<std::size_t>(config::kMaxMacroActions))
        return complain("a macro holds at most 2000 actions", kExitKeyboardError, err);
    config::MacroRecord macro = config::newMacroRecord(text::toUtf16(arguments[0]), edited);
    macro.loopCount = static_cast<std::uint8_t>(loopCount);
    config::setMacroActions(macro, actions);
    edited.push_back(macro);
    if (const int result = commitAndDownload(*keyboard, edited, err); result != kExitDone) return result;
    out << "macro " << macro.id << "\n";
    return kExitDone;
}

int deleteMacro(const Invocation& invocation, std::vector<std::string> arguments, std::ostream& err) {
    const bool force = !arguments.empty() && arguments[0] == "--force";
    if (force) arguments.erase(arguments.begin());
    if (arguments.size() != 1) return wrongArguments(err, "macro delete", "one macro id");
    const auto id = takeMacroId(arguments[0]);
    if (!id) return badUsage(err, "a macro id is 1 to 100");
    auto keyboard = ConfiguredKeyboard::open(invocation, err);
    if (!keyboard) return kExitKeyboardError;
    const auto held = keyboard->working().lock();
    if (!macroWithId(keyboard->working(), static_cast<std::uint32_t>(*id)))
        return badUsage(err, "the keyboard has no macro " + arguments[0]);
    const std::string keys = keysPlaying(keyboard->working(), static_cast<std::uint32_t>(*id));
    if (!keys.empty() && !force)
        return complain("macro " + arguments[0] + " is played by " + keys + "; --force resets those keys",
                        kExitKeyboardError, err);
    if (!keys.empty() && !keyboard->backUpFirst(profiles::backup_operation::kMacroDelete, err))
        return kExitKeyboardError;
    config::MacroList edited = keyboard->working().macros();
    std::erase_if(edited, [&](const config::MacroRecord& macro) { return macro.id == *id; });
    return commitAndDownload(*keyboard, edited, err);
}

}  // namespace

int runMacro(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (invocation.arguments.empty()) return badUsage(err, "macro takes list, show, add or delete");
    const std::string& action = invocation.arguments[0];
    std::vector<std::string> rest(invocation.arguments.begin() + 1, invocation.arguments.end());
    if (action == "list") return listMacros(invocation, rest, out, err);
    if (action == "show") return showMacro(invocation, rest, out, err);
    if (action == "add") return addMacro(invocation, std::move(rest), out, err);
    if (action == "delete") return deleteMacro(invocation, std::move(rest), err);
    return badUsage(err, "unknown macro command '" + action + "'");
}

}  // namespace quillmar::ctl
