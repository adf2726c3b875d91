// The message boxes answer with the user's button; No is the default.
#include "shell/QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace quillmar::shell {
namespace {

// Presses the given button of the next message box once it is on screen.
void pressWhenShown(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(button)->click();
    });
}

TEST(QtPromptTest, AsksWithTheTextAndReturnsTheAnswer) {
    QWidget window;
    window.setWindowTitle("Gaming Keyboard Settings");
    QtPrompt prompt(&window);

    pressWhenShown(QMessageBox::Yes);
    EXPECT_TRUE(prompt.askYesNo(u"Whether to save the profile settings made?"));
    pressWhenShown(QMessageBox::No);
    EXPECT_FALSE(prompt.askYesNo(u"Whether to save the profile settings made?"));
}

TEST(QtPromptTest, EnterTakesTheDefaultNo) {
    QtPrompt prompt;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
        box->defaultButton()->click();
    });
    EXPECT_FALSE(prompt.askYesNo(u"?"));
}

}  // namespace
}  // namespace quillmar::shell
