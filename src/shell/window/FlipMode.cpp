#include "shell/window/FlipMode.h"

#include "shell/window/MainWindowIds.h"

namespace quillmar::shell::main_window {

bool readFlipMode(const platform::UserSettings& settings) {
    return settings.readNumber(platform::kProfilesSection, platform::kFlipValueName, 0) != 0;
}

bool toggleFlipMode(platform::UserSettings& settings) {
    const bool flip = !readFlipMode(settings);
    settings.writeNumber(platform::kProfilesSection, platform::kFlipValueName, flip ? 1 : 0);
    return flip;
}

std::vector<ButtonEnabling> flipButtonStates(bool flipMode) {
    std::vector<ButtonEnabling> states;
    for (int i = 0; i < kSwappedFunctionKeyCount; ++i) states.push_back({kFirstFunctionKey + i, !flipMode});
    for (int i = 0; i < kExtraKeyCount; ++i) states.push_back({kFirstExtraKey + i, flipMode});
    return states;
}

}  // namespace quillmar::shell::main_window
