#include "keyboard/KeyButtons.h"

#include "keyboard/LayoutKeyList.h"

#include <cstdio>

namespace quillmar::keyboard {

std::optional<int> gKeyNumberOfButton(int buttonId) {
    for (std::size_t i = 0; i < kGKeyList.size(); ++i)
        if (kGKeyList[i] == buttonId) return static_cast<int>(i) + 1;
    return std::nullopt;
}

std::optional<int> layoutPositionOfButton(int buttonId) {
    for (std::size_t i = 0; i < kLayoutKeyList.size(); ++i)
        if (kLayoutKeyList[i].buttonId == buttonId) return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int> slotOfButton(int buttonId, GKeyBank bank) {
    if (const auto n = gKeyNumberOfButton(buttonId)) return gKeySlotOf(*n, bank);
    if (const auto position = layoutPositionOfButton(buttonId))
        return keyIndexOf(kLayoutKeyList[*position].keyCode);
    return std::nullopt;
}

std::optional<int> lightingPositionOf(int buttonId) {
    if (gKeyNumberOfButton(buttonId)) return kGKeyLightingPosition;
    if (buttonId == kFnButtonId) return kFnLightingPosition;
    if (const auto position = layoutPositionOfButton(buttonId)) return kLayoutKeyList[*position].lightingPosition;
    return std::nullopt;
}

std::optional<int> colourKeyFlagRecordOf(int buttonId, GKeyBank bank) {
    if (const auto n = gKeyNumberOfButton(buttonId)) return gKeySlotOf(*n, bank);
    return layoutPositionOfButton(buttonId);
}

std::optional<std::string> skinNameOfButton(int buttonId) {
    char name[16];
    if (const auto n = gKeyNumberOfButton(buttonId)) {
        std::snprintf(name, sizeof name, "FUNC_G%d", *n);
        return name;
    }
    if (const auto position = layoutPositionOfButton(buttonId)) {
        std::snprintf(name, sizeof name, "KEY_%03X", static_cast<unsigned>(keyIndexOf(kLayoutKeyList[*position].keyCode)));
        return name;
    }
    return std::nullopt;
}

}  // namespace quillmar::keyboard
