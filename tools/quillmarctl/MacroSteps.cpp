#include "MacroSteps.h"

#include "keyboard/KeyInfoTable.h"
#include "keyboard/KeySelectionList.h"
#include "text/Utf.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace quillmar::ctl {
namespace {

constexpr std::uint32_t kDelayStepMs = 10;

bool sameNameIgnoringCase(std::u16string_view a, std::u16string_view b) {
    const auto fold = [](char16_t c) { return c < 0x80 ? static_cast<char16_t>(std::tolower(c)) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

std::optional<keyboard::KeyCode> selectionKeyNamed(std::string_view name) {
    const std::u16string wanted = text::toUtf16(name);
    for (int position = 0; position < keyboard::kKeySelectionListSize; ++position)
        if (sameNameIgnoringCase(keyboard::nameAtListPosition(position), wanted))
            return keyboard::keyCodeAtListPosition(position);
    return std::nullopt;
}

}  // namespace

std::string formatMacroStep(const config::MacroAction& action) {
    const std::u16string_view name = keyboard::keyInfoOf(action.keyCode).name;
    return (action.direction == config::KeyDirection::Press ? "+" : "-") + text::toUtf8(name) + ":" +
           std::to_string(action.delayMs);
}

ParsedStep parseMacroStep(std::string_view text) {
    const auto colon = text.rfind(':');
    if (text.size() < 4 || (text.front() != '+' && text.front() != '-') || colon == std::string_view::npos ||
        colon < 2)
        return {};
    const std::string_view digits = text.substr(colon + 1);
    std::uint64_t delay = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), delay);
    if (digits.empty() || end != digits.data() + digits.size()) return {};
    if (error == std::errc::result_out_of_range || delay > config::kMaxActionDelayMs)
        return {std::nullopt, StepError::DelayTooLong};
    const auto key = selectionKeyNamed(text.substr(1, colon - 1));
    if (!key) return {std::nullopt, StepError::UnknownKey};
    config::MacroAction action;
    action.keyCode = *key;
    action.direction = text.front() == '+' ? config::KeyDirection::Press : config::KeyDirection::Release;
    action.delayMs = static_cast<std::uint32_t>(delay) / kDelayStepMs * kDelayStepMs;
    return {action, StepError::Malformed};
}

std::string describeMacro(const config::MacroRecord& macro) {
    return std::to_string(macro.id) + ": " + text::toUtf8(config::macroName(macro)) + " (loop " +
           std::to_string(macro.loopCount) + ", " + std::to_string(config::macroActions(macro).size()) + " actions)";
}

}  // namespace quillmar::ctl
