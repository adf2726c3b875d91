// keycolour, basecolour and scheme: the per-key colours of effect 20.
#include "ArgumentParsing.h"
#include "AssignmentArguments.h"
#include "CommandSupport.h"
#include "Commands.h"
#include "ConfiguredKeyboard.h"
#include "ExitCodes.h"
#include "LightingArguments.h"

#include "device/HidServiceBinding.h"
#include "device/ResultCode.h"
#include "keyboard/LayoutKeyList.h"
#include "lighting/EffectTable.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingControl.h"
#include "profiles/KtvlSettings.h"
#include "text/Utf.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quillmar::ctl {
namespace {

bool sameText(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) ==
                                                                std::tolower(static_cast<unsigned char>(y)); });
}

// The key button of a key name as remap takes it, G1 to G9, or Fn.
std::optional<int> buttonOfKeyName(std::string_view name) {
    if (sameText(name, "Fn")) return keyboard::kFnButtonId;
    if (name.size() == 2 && (name[0] == 'G' || name[0] == 'g') && name[1] >= '1' && name[1] <= '9')
        return keyboard::kGKeyList[static_cast<std::size_t>(name[1] - '1')];
    const auto code = keyCodeOfName(name);
    if (!code) return std::nullopt;
    const auto key = std::ranges::find(keyboard::kLayoutKeyList, *code, &keyboard::LayoutKey::keyCode);
    if (key == keyboard::kLayoutKeyList.end()) return std::nullopt;
    return key->buttonId;
}

// The keyboard taken up, with the profile's lighting read and its colour
// scheme loaded from the per-user file.
struct ColourSession {
    std::unique_ptr<ConfiguredKeyboard> keyboard;
    std::unique_ptr<lighting::LightingControl> control;
    std::unique_ptr<lighting::KeyColours> colours;
    int profile = 0;
};

std::optional<ColourSession> openColours(const Invocation& invocation, std::optional<int> askedProfile,
                                         std::ostream& err, int& failure) {
    failure = kExitKeyboardError;
    ColourSession session;
    session.keyboard = ConfiguredKeyboard::open(invocation, err);
    if (!session.keyboard) return std::nullopt;
    session.profile = session.keyboard->profileOrActive(askedProfile);
    if (session.profile < 0) {
        failure = keyboardError(device::kNoAnswer, err);
        return std::nullopt;
    }
    const profiles::UserFolder& folder = session.keyboard->userFolder();
    session.control = std::make_unique<lighting::LightingControl>(session.keyboard->commands(),
                                                                  profiles::KtvlSettings(folder.settingsFile()));
    session.control->state().profile = session.profile;
    if (session.control->ReadLightingState() != 0) {
        failure = complain("the keyboard's lighting could not be read", kExitKeyboardError, err);
        return std::nullopt;
    }
    const std::filesystem::path templateFile =
        std::filesystem::path(device::programDirectory()) / "Skins" / "UserDengColor_3.userd";
    session.colours = std::make_unique<lighting::KeyColours>(session.keyboard->commands(), folder, templateFile);
    session.colours->PrepareUserColourFiles();
    session.colours->loadSchemeNames(session.profile);
    session.colours->loadColourScheme(session.profile);
    return session;
}

// The colours are stored whatever the effect; the keyboard shows them only in
// the per-key colour effect.
void noteEffect(const ColourSession& session, std::ostream& err) {
    if (session.control->state().effect == lighting::kPerKeyColourEffect) return;
    err << "quillmarctl: the keyboard shows per-key colours in effect 20; select it with: quillmarctl lighting --profile "
        << session.profile + 1 << " effect=20\n";
}

int finished(int result, std::ostream& err) {
    return result == device::kSuccess ? kExitDone : keyboardError(result, err);
}

}  // namespace

int runKeyColour(const Invocation& invocation, std::ostream&, std::ostream& err) {
    std::vector<std::string> arguments = invocation.arguments;
    std::optional<int> askedProfile;
    if (!takeProfileOption(arguments, askedProfile)) return badUsage(err, kProfileRange);
    const auto erase = std::ranges::find(arguments, "--erase");
    const bool eraser = erase != arguments.end();
    if (eraser) arguments.erase(erase);
    if (arguments.size() != (eraser ? 1u : 2u)) return wrongArguments(err, "keycolour", eraser ? "--erase and one key" : "a key and a colour RRGGBB");
    const auto button = buttonOfKeyName(arguments[0]);
    if (!button) return badUsage(err, "unknown key '" + arguments[0] + "'");
    std::optional<int> colour;
    if (!eraser) {
        colour = parseRgbColour(arguments[1]);
        if (!colour) return badUsage(err, "the colour is RRGGBB in hex");
    }

    int failure = kExitDone;
    auto session = openColours(invocation, askedProfile, err, failure);
    if (!session) return failure;
    const profiles::KeyColour keyColour =
        eraser ? profiles::KeyColour{session->colours->settings().baseColour, true}
               : profiles::KeyColour{static_cast<lighting::ColourValue>(*colour), false};
    session->colours->SetKeyColour(session->profile, *button, keyColour);
    noteEffect(*session, err);
    return kExitDone;
}

int runBaseColour(const Invocation& invocation, std::ostream&, std::ostream& err) {
    std::vector<std::string> arguments = invocation.arguments;
    std::optional<int> askedProfile;
    if (!takeProfileOption(arguments, askedProfile)) return badUsage(err, kProfileRange);
    if (arguments.size() != 1) return wrongArguments(err, "basecolour", "one colour RRGGBB");
    const auto colour = parseRgbColour(arguments[0]);
    if (!colour) return badUsage(err, "the colour is RRGGBB in hex");

    int failure = kExitDone;
    auto session = openColours(invocation, askedProfile, err, failure);
    if (!session) return failure;
    session->colours->ChangeBaseColour(session->profile, static_cast<lighting::ColourValue>(*colour));
    noteEffect(*session, err);
    return kExitDone;
}

int runScheme(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    std::vector<std::string> arguments = invocation.arguments;
    std::optional<int> askedProfile;
    if (!takeProfileOption(arguments, askedProfile)) return badUsage(err, kProfileRange);
    if (arguments.size() > 1) return wrongArguments(err, "scheme", "nothing or a scheme 1-10");
    std::optional<int> scheme;
    if (arguments.size() == 1) {
        scheme = parseNumberInRange(arguments[0], 1, profiles::kSchemeCount);
        if (!scheme) return badUsage(err, "the scheme is 1 to 10");
    }

    int failure = kExitDone;
    auto session = openColours(invocation, askedProfile, err, failure);
    if (!session) return failure;
    if (scheme) {
        const int result = session->colours->SelectScheme(session->profile, *scheme - 1);
        noteEffect(*session, err);
        return finished(result, err);
    }
    const auto& names = session->colours->schemeNames();
    for (int s = 0; s < profiles::kSchemeCount; ++s) {
        out << s + 1 << (s == session->colours->scheme() ? "*" : "") << ": " << text::toUtf8(names[s]) << '\n';
    }
    return kExitDone;
}

}  // namespace quillmar::ctl
