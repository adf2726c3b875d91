#pragma once

#include <string>
#include <string_view>

namespace quillmar::text {

// Where user-visible texts come from: the language file's text for a key in
// the chosen language, or the given built-in text when there is none.
class Texts {
public:
    virtual ~Texts() = default;
    virtual std::u16string text(std::string_view key, std::u16string_view builtIn) const = 0;
};

// The built-in texts alone: for tests and for code running before the
// language file is read.
class BuiltInTexts final : public Texts {
public:
    std::u16string text(std::string_view, std::u16string_view builtIn) const override {
        return std::u16string(builtIn);
    }
};

}  // namespace quillmar::text
