#pragma once

#include <string>

namespace quillmar::platform {

// Message boxes: everything the user is told, with an OK or a Yes/No choice.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual void showMessage(const std::u16string& text) = 0;
    // True for Yes; No is the default answer.
    virtual bool askYesNo(const std::u16string& text) = 0;
};

}  // namespace quillmar::platform
