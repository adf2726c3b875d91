#pragma once

#include "platform/Prompt.h"

#include <functional>

namespace quillmar::shell {

// Message boxes asked for on any thread, shown on the window thread while the
// asking thread waits. When the window is shutting down the box is not shown
// and the answer is No.
class WindowThreadPrompt final : public platform::Prompt {
public:
    // Runs work on the window thread and returns when it ran or was dropped.
    using Marshal = std::function<void(const std::function<void()>& work)>;

    WindowThreadPrompt(Marshal marshal, platform::Prompt& target) : marshal_(std::move(marshal)), target_(&target) {}

    void setTarget(platform::Prompt& target) { target_ = &target; }

    void showMessage(const std::u16string& text) override {
        marshal_([this, &text] { target_->showMessage(text); });
    }
    bool askYesNo(const std::u16string& text) override {
        bool yes = false;
        marshal_([this, &text, &yes] { yes = target_->askYesNo(text); });
        return yes;
    }

    bool askYesNoDefaultYes(const std::u16string& text) override {
        bool yes = false;
        marshal_([this, &text, &yes] { yes = target_->askYesNoDefaultYes(text); });
        return yes;
    }
    Answer askYesNoCancel(const std::u16string& text) override {
        Answer answer = Answer::Cancel;
        marshal_([this, &text, &answer] { answer = target_->askYesNoCancel(text); });
        return answer;
    }

private:
    Marshal marshal_;
    platform::Prompt* target_;
};

}  // namespace quillmar::shell
