#pragma once

#include <array>
#include <string_view>

namespace quillmar::keyboard {

// A built-in function the keyboard carries out itself; the index is what the
// keyboard receives.
struct FunctionKey {
    std::string_view nameKey;
    std::u16string_view builtInName;
};

inline constexpr std::array<FunctionKey, 11> kFunctionKeyTable = {{
    {"FUNC_KEY_DESC1", u"Open"},
    {"FUNC_KEY_DESC2", u"New"},
    {"FUNC_KEY_DESC3", u"Undo"},
    {"FUNC_KEY_DESC4", u"Save"},
    {"FUNC_KEY_DESC5", u"Copy"},
    {"FUNC_KEY_DESC6", u"Cut"},
    {"FUNC_KEY_DESC7", u"Paste"},
    {"FUNC_KEY_DESC8", u"Find"},
    {"FUNC_KEY_DESC9", u"Select All"},
    {"FUNC_KEY_DESC10", u"Zoom-"},
    {"FUNC_KEY_DESC11", u"Zoom+"},
}};

}  // namespace quillmar::keyboard
