// The profile dialog on the main window against the simulated keyboard.
#include "MainWindowFixture.h"

#include "config/AssignmentBlock.h"
#include "shell/dialogs/CQuillmar_DlgProfile.h"
#include "shell/window/MainWindowIds.h"

#include <QTableWidget>

namespace quillmar::shell::testing {
namespace {

using keyboard::AssignmentType;

constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kLoad = 1008;
constexpr int kAdd = 1010;
constexpr int kDelete = 1011;
constexpr int kApply = 1012;
constexpr int kSlotOfA = 0x1E;

class ProfileDialogTest : public MainWindowFixture {
protected:
    void openOn(int activeProfile) {
        startWindow(true);
        ASSERT_EQ(window->link().commands().SetActiveProfile(activeProfile), 1);
        dialog = attachProfileDialog(*window, {programDirectory(), userFolder(), *texts});
        ASSERT_TRUE(dialog->openDialog());
    }
    int activeOnKeyboard() { return keyboard().readMemory(sim::SimArea::DeviceInfo, sim::kActiveProfileByte, 1)[0]; }
    QString cell(int row, int column) const { return dialog->list().item(row, column)->text(); }

    CQuillmar_DlgProfile* dialog = nullptr;
};

// With the dialog attached but never opened, a profile change has nothing of
// the dialog's to save and goes ahead without a question.
TEST_F(ProfileDialogTest, ANeverOpenedDialogLeavesProfileChangesUnasked) {
    startWindow(true);
    attachProfileDialog(*window, {programDirectory(), userFolder(), *texts});
    EXPECT_FALSE(window->isProfileDialogApplyEnabled());
    window->OnCommand(main_window::kFirstProfileButton + 1);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(activeOnKeyboard(), 1);
}

TEST_F(ProfileDialogTest, ListsTheThreeProfilesWithTheActiveOneChecked) {
    openOn(2);
    ASSERT_EQ(dialog->list().rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(cell(row, 1), QStringLiteral("$Profile0"));
        EXPECT_EQ(cell(row, 2).toStdString(), userFolder().string());
    }
    EXPECT_EQ(dialog->checkedRow(), 2);
    EXPECT_FALSE(dialog->isApplyEnabled());
    EXPECT_TRUE(window->isProfileDialogOpen());
    EXPECT_FALSE(window->isProfileDialogApplyEnabled());
}

TEST_F(ProfileDialogTest, ApplyActivatesTheCheckedProfileAndReloadsTheKeyboard) {
    openOn(0);
    {
        const auto lock = configuration.working.lock();
        configuration.working.records()[kSlotOfA] = {AssignmentType::Disabled};
    }
    window->markChanged();
    dialog->list().item(1, 0)->setCheckState(Qt::Checked);
    EXPECT_EQ(dialog->checkedRow(), 1);
    EXPECT_EQ(dialog->list().item(0, 0)->checkState(), Qt::Unchecked) << "one check at a time";
    EXPECT_TRUE(window->isProfileDialogApplyEnabled());
    dialog->OnCommand(kApply);
    EXPECT_EQ(activeOnKeyboard(), 1);
    EXPECT_FALSE(dialog->isApplyEnabled());
    EXPECT_FALSE(window->isApplyEnabled());
    const auto lock = configuration.working.lock();
    EXPECT_EQ(configuration.working.records()[kSlotOfA].type, AssignmentType::Default) << "the unapplied edit is gone";
}

TEST_F(ProfileDialogTest, AddWritesADefaultFileWhoseRowStandsForTheFirstProfile) {
    openOn(2);
    const auto file = userFolder() / "Racing.kbp";
    files.newProfilePath = file;
    dialog->OnCommand(kAdd);
    EXPECT_EQ(files.initialName, userFolder() / "New profile");
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 32832u);
    ASSERT_EQ(dialog->list().rowCount(), 4);
    EXPECT_EQ(cell(3, 1), QStringLiteral("Racing"));
    EXPECT_TRUE(dialog->isApplyEnabled());
    dialog->checkRow(3);
    dialog->OnCommand(kOk);
    EXPECT_EQ(activeOnKeyboard(), 0);
    EXPECT_FALSE(window->isProfileDialogOpen());
}

TEST_F(ProfileDialogTest, LoadAndDeleteChangeTheListWhileRowsKeepTheirProfile) {
    openOn(0);
    files.loadProfilePath = std::filesystem::path("/elsewhere/Saved.kbp");
    dialog->OnCommand(kLoad);
    ASSERT_EQ(dialog->list().rowCount(), 4);
    EXPECT_EQ(cell(3, 2), QStringLiteral("/elsewhere"));
    dialog->list().setCurrentCell(3, 1);
    dialog->OnCommand(kDelete);
    EXPECT_EQ(dialog->list().rowCount(), 3);
    // With the first row gone, the row of profile 3 is the second one.
    dialog->list().setCurrentCell(0, 1);
    dialog->OnCommand(kDelete);
    dialog->checkRow(1);
    EXPECT_EQ(dialog->checkedProfile(), 2);
    files.loadProfilePath.reset();
    dialog->OnCommand(kLoad);
    EXPECT_EQ(dialog->list().rowCount(), 2) << "a cancelled file dialog adds nothing";
    dialog->OnCommand(kApply);
    EXPECT_EQ(activeOnKeyboard(), 2);
}

TEST_F(ProfileDialogTest, CancelChangesNothingOnTheKeyboard) {
    openOn(0);
    keyboard().clearTrace();
    dialog->checkRow(2);
    dialog->list().item(2, 0)->setCheckState(Qt::Checked);
    dialog->OnCommand(kCancel);
    EXPECT_EQ(activeOnKeyboard(), 0);
    EXPECT_FALSE(window->isProfileDialogOpen());
    EXPECT_FALSE(window->isProfileDialogApplyEnabled());
    ASSERT_TRUE(dialog->openDialog());
    EXPECT_EQ(dialog->list().rowCount(), 3) << "the list is rebuilt at every opening";
    EXPECT_EQ(dialog->checkedRow(), 0);
}

}  // namespace
}  // namespace quillmar::shell::testing
