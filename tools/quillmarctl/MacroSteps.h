#pragma once

#include "config/MacroAction.h"
#include "config/MacroRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillmar::ctl {

// One macro action as the tool writes and reads it: "+KEY:MS" for a press,
// "-KEY:MS" for a release, KEY a key of the key selection list and MS the
// delay after the action in milliseconds.
std::string formatMacroStep(const config::MacroAction& action);

enum class StepError { Malformed, UnknownKey, DelayTooLong };

struct ParsedStep {
    std::optional<config::MacroAction> action;  // delay rounded down to 10 ms
    StepError error = StepError::Malformed;
};
ParsedStep parseMacroStep(std::string_view text);

// "ID: NAME (loop L, N actions)"
std::string describeMacro(const config::MacroRecord& macro);

}  // namespace quillmar::ctl
