#pragma once

#include "text/Texts.h"
#include "shell/window/MessageMap.h"
#include "shell/window/ProfileDialogHooks.h"

#include <QDialog>

#include <filesystem>
#include <map>
#include <memory>

class QTableWidget;

namespace quillmar::shell {

class CPngButton;
class CQuillmarDlg;
class SkinSurfaces;

struct ProfileDialogSetup {
    std::filesystem::path programDirectory;  // Skins/ is there
    std::filesystem::path userFolder;        // the per-user "Gaming Keyboard" folder
    const text::Texts& texts;
};

// The profile dialog: the keyboard's three profiles with a check on the
// active one; Apply makes the checked one active. Add and Load list further
// files, which it does not otherwise use.
class CQuillmar_DlgProfile final : public QDialog, public ProfileDialogHooks {
    Q_OBJECT
public:
    CQuillmar_DlgProfile(CQuillmarDlg& mainWindow, ProfileDialogSetup setup);
    ~CQuillmar_DlgProfile() override;

    // Prepares the list; false when the skin's pictures cannot be loaded.
    // exec() then runs it.
    bool openDialog();

    // ProfileDialogHooks.
    void run() override;
    bool isOpen() const override { return openCount_ > 0; }
    bool isApplyEnabled() const override;
    void showProfile(int profile) override;

    bool OnCommand(int id);
    QWidget* control(int id) const;
    QTableWidget& list() const { return *list_; }
    // The first checked row; -1 when none is checked.
    int checkedRow() const;
    void checkRow(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    static const MessageMap<CQuillmar_DlgProfile>& messageMap();
    void OnAdd(int);
    void OnLoad(int);
    void OnDelete(int);
    void OnApply(int);
    void OnOk(int);
    void OnCancel(int);

    bool loadSkin();
    void addRow(const std::filesystem::path& file);
    void closeDialog();
    void enableApply(bool enabled);

    CQuillmarDlg& main_;
    ProfileDialogSetup setup_;
    std::unique_ptr<SkinSurfaces> surfaces_;
    std::map<int, QWidget*> controls_;
    QTableWidget* list_ = nullptr;
    int openCount_ = 0;
    bool skinLoaded_ = false;
    bool filling_ = false;
};

CQuillmar_DlgProfile* attachProfileDialog(CQuillmarDlg& mainWindow, const ProfileDialogSetup& setup);

}  // namespace quillmar::shell
