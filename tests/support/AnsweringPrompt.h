#pragma once

#include "platform/Prompt.h"

#include <deque>
#include <string>
#include <vector>

namespace quillmar::testing {

// Answers Yes/No questions in order (No once the answers run out) and keeps
// every text it was shown.
class AnsweringPrompt final : public platform::Prompt {
public:
    std::vector<std::u16string> shown;
    std::deque<bool> answers;

    void showMessage(const std::u16string& text) override { shown.push_back(text); }
    bool askYesNo(const std::u16string& text) override {
        shown.push_back(text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace quillmar::testing
