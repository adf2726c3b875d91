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

}  // namespace quillmar::shell
