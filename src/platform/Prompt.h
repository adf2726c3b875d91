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

    // As askYesNo with Yes the default answer; prompts without a default
    // button of their own ask askYesNo.
    virtual bool askYesNoDefaultYes(const std::u16string& text) { return askYesNo(text); }

    enum class Answer { Yes, No, Cancel };
    // Yes, No or Cancel (go back), with Yes the default answer. Prompts that
    // cannot offer Cancel ask askYesNo.
    virtual Answer askYesNoCancel(const std::u16string& text) { return askYesNo(text) ? Answer::Yes : Answer::No; }
};

}  // namespace quillmar::platform
