#pragma once

#include "platform/Prompt.h"

#include <QString>

class QWidget;

namespace quillmar::shell {

// Message boxes over a parent window, with the window's caption as title.
class QtPrompt final : public platform::Prompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : parent_(parent) {}

    void showMessage(const std::u16string& text) override;
    bool askYesNo(const std::u16string& text) override;
    bool askYesNoDefaultYes(const std::u16string& text) override;
    Answer askYesNoCancel(const std::u16string& text) override;

private:
    QString title() const;

    QWidget* parent_;
};

}  // namespace quillmar::shell
