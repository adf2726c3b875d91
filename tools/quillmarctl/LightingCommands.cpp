#include "ArgumentParsing.h"
#include "CommandSupport.h"
#include "Commands.h"
#include "ConfiguredKeyboard.h"
#include "ExitCodes.h"
#include "LightingArguments.h"

#include "device/ResultCode.h"
#include "lighting/LightingBlock.h"
#include "lighting/LightingControl.h"
#include "lighting/LightingSliders.h"
#include "lighting/LightingState.h"
#include "profiles/KtvlSettings.h"

#include <ostream>
#include <vector>

namespace quillmar::ctl {
namespace {

using Kind = LightingSettingKind;

// The panel's control for the setting, with the bytes that control writes.
int applySetting(lighting::LightingControl& control, const LightingSetting& setting) {
    switch (setting.kind) {
    case Kind::Effect:
        return control.SelectEffect(setting.value);
    case Kind::Brightness:
        return control.MoveBrightnessSlider(setting.value);
    case Kind::Speed:
        return control.MoveSpeedSlider(lighting::speedSliderPosition(setting.value));
    case Kind::Direction:
        return control.SetDirection(setting.value);
    case Kind::Colour:
        return control.ChooseColour(static_cast<lighting::ColourValue>(setting.value));
    case Kind::Multicolour:
        if (control.state().multicolour == (setting.value == 1)) return lighting::kNothingWritten;
        return control.ToggleMulticolour();
    case Kind::FixedColour:
        return control.SetFixedColour(setting.value);
    }
    return lighting::kNothingWritten;
}

bool succeeded(int result) { return result == device::kSuccess || result == lighting::kNothingWritten; }

// The keyboard, taken up, with the lighting record of the profile read.
struct LightingSession {
    std::unique_ptr<ConfiguredKeyboard> keyboard;
    std::unique_ptr<lighting::LightingControl> control;
};

// Opens the keyboard and reads the profile's lighting; nothing, and the
// exit code in failure, when that fails.
std::optional<LightingSession> openLighting(const Invocation& invocation, std::optional<int> askedProfile,
                                            bool onlyLooks, std::ostream& err, int& failure) {
    failure = kExitKeyboardError;
    LightingSession session;
    session.keyboard = ConfiguredKeyboard::open(invocation, err, {},
                                                onlyLooks ? ConfiguredKeyboard::Reading::LayoutOnly
                                                          : ConfiguredKeyboard::Reading::Configuration);
    if (!session.keyboard) return std::nullopt;
    const int profile = session.keyboard->profileOrActive(askedProfile);
    if (profile < 0) {
        failure = keyboardError(device::kNoAnswer, err);
        return std::nullopt;
    }
    session.control = std::make_unique<lighting::LightingControl>(
        session.keyboard->commands(), profiles::KtvlSettings(session.keyboard->userFolder().settingsFile()));
    session.control->state().profile = profile;
    if (session.control->ReadLightingState() != 0) {
        failure = complain("the keyboard's lighting could not be read", kExitKeyboardError, err);
        return std::nullopt;
    }
    return session;
}

}  // namespace

int runLighting(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    std::vector<std::string> arguments = invocation.arguments;
    std::optional<int> askedProfile;
    if (!takeProfileOption(arguments, askedProfile)) return badUsage(err, "the profile is 1, 2 or 3");
    std::vector<LightingSetting> settings;
    for (const std::string& argument : arguments) {
        const auto setting = parseLightingSetting(argument);
        if (!setting) return badUsage(err, "unknown lighting setting '" + argument + "'");
        settings.push_back(*setting);
    }

    int failure = kExitDone;
    auto session = openLighting(invocation, askedProfile, settings.empty(), err, failure);
    if (!session) return failure;
    for (const LightingSetting& setting : settings) {
        const int result = applySetting(*session->control, setting);
        if (!succeeded(result)) return keyboardError(result, err);
    }
    if (settings.empty()) {
        for (const auto& [name, value] : lighting::lightingFields(session->control->state()))
            out << name << ": " << value << '\n';
    }
    return kExitDone;
}

int runRate(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    std::vector<std::string> arguments = invocation.arguments;
    std::optional<int> askedProfile;
    if (!takeProfileOption(arguments, askedProfile)) return badUsage(err, "the profile is 1, 2 or 3");
    if (arguments.size() > 1) return badUsage(err);
    std::optional<int> rate;
    if (arguments.size() == 1) {
        rate = parseNumberInRange(arguments[0], 0, lighting::kPollingRateCount - 1);
        if (!rate) return badUsage(err, "the polling rate is 0, 1, 2 or 3");
    }

    int failure = kExitDone;
    auto session = openLighting(invocation, askedProfile, !rate, err, failure);
    if (!session) return failure;
    if (rate) {
        const int result = session->control->SetPollingRate(*rate);
        if (!succeeded(result)) return keyboardError(result, err);
    }
    out << "polling rate: " << session->control->state().pollingRate << '\n';
    return kExitDone;
}

}  // namespace quillmar::ctl
