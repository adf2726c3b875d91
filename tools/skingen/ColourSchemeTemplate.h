#pragma once

#include <string>

namespace quillmar::skingen {

// "UserDengColor_3.userd": the ten named per-key colour schemes every user's
// colour files start from. Each scheme gives every lit key (the layout keys,
// Fn at position 110 and the G-keys at 125) a colour and its base-colour
// flag, plus the tool and the base and paint colours.
std::string colourSchemeTemplate();

}  // namespace quillmar::skingen
