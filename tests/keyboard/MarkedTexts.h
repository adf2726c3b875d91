#pragma once

#include "text/Texts.h"

#include <string>
#include <string_view>

namespace quillmar::keyboard::testing {

// A language file that answers every key with "<KEY>", so a test sees which
// text was asked for and that the built-in text was not used.
class MarkedTexts final : public text::Texts {
public:
    std::u16string text(std::string_view key, std::u16string_view) const override {
        std::u16string marked = u"<";
        for (char c : key) marked += static_cast<char16_t>(c);
        return marked + u">";
    }
};

// A language file that answers one key with a given text and every other
// with its built-in text.
class OneTextOverride final : public text::Texts {
public:
    OneTextOverride(std::string key, std::u16string text) : key_(std::move(key)), text_(std::move(text)) {}
    std::u16string text(std::string_view key, std::u16string_view builtIn) const override {
        return key == key_ ? text_ : std::u16string(builtIn);
    }

private:
    std::string key_;
    std::u16string text_;
};

}  // namespace quillmar::keyboard::testing
