#pragma once

#include "platform/Prompt.h"

#include <string>

namespace quillmar::ctl {

// Message boxes on a terminal: the text goes to standard error, and a
// question is answered with its default, No.
class ConsolePrompt final : public platform::Prompt {
public:
    void showMessage(const std::u16string& text) override;
    bool askYesNo(const std::u16string& text) override;
};

}  // namespace quillmar::ctl
