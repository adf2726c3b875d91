#include "shell/QtPrompt.h"

#include <QMessageBox>
#include <QWidget>

namespace quillmar::shell {
namespace {

QString toQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString QtPrompt::title() const {
    return parent_ ? parent_->windowTitle() : QString();
}

void QtPrompt::showMessage(const std::u16string& text) {
    QMessageBox::information(parent_, title(), toQString(text));
}

bool QtPrompt::askYesNo(const std::u16string& text) {
    return QMessageBox::question(parent_, title(), toQString(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

bool QtPrompt::askYesNoDefaultYes(const std::u16string& text) {
    return QMessageBox::question(parent_, title(), toQString(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

platform::Prompt::Answer QtPrompt::askYesNoCancel(const std::u16string& text) {
    const auto chosen = QMessageBox::question(parent_, title(), toQString(text),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (chosen == QMessageBox::Yes) return Answer::Yes;
    return chosen == QMessageBox::No ? Answer::No : Answer::Cancel;
}

}  // namespace quillmar::shell
