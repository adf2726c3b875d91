#pragma once

#include "config/CompositeSession.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "text/Texts.h"
#include "platform/UserSettings.h"
#include "shell/window/CompositeRequest.h"
#include "shell/window/MessageMap.h"

#include <QDialog>

#include <filesystem>
#include <map>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace quillmar::shell {

class CPngButton;
class CQuillmarDlg;
class SkinSurfaces;

struct CompositeDialogSetup {
    std::filesystem::path programDirectory;  // Skins/ is there
    const text::Texts& texts;
    platform::UserSettings& settings;
    config::ConfigStore& working;
    const platform::Clock& clock;
};

// The key and macro dialog: the Qt face of a CompositeSession. One object
// for the life of the main window, opened again on every key click.
class Quillmar_DlgComposite final : public QDialog {
    Q_OBJECT
public:
    Quillmar_DlgComposite(CQuillmarDlg& mainWindow, CompositeDialogSetup setup);
    ~Quillmar_DlgComposite() override;

    // Prepares the dialog on the request's slot of the current profile:
    // controls, texts, copies, placement. False when the skin's pictures
    // cannot be loaded. exec() then runs it.
    bool openForKey(const CompositeRequest& request);
    // Closes the dialog as Cancel does, when it is open.
    void closeIfOpen();
    bool isOpen() const { return session_.isOpen(); }

    // The message map.
    bool OnCommand(int id);
    QWidget* control(int id) const;
    CPngButton* button(int id) const;
    config::CompositeSession& session() { return session_; }

    // In-place editing of an action cell; endCellEdit() takes the edit's
    // value.
    void beginCellEdit(int row, int column);
    void endCellEdit();
    QWidget* cellEditor() const { return cellEditor_; }

    // Whether the Osk button starts an on-screen keyboard (one is installed).
    bool hasOnScreenKeyboard() const { return !onScreenKeyboard_.isEmpty(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;

private:
    static const MessageMap<Quillmar_DlgComposite>& messageMap();

    void OnOk(int);
    void OnCancel(int);
    void OnApply(int);
    void OnTab(int id);
    void OnClear(int);
    void OnOsk(int);
    void OnAddMacro(int);
    void OnDeleteMacro(int);
    void OnRecord(int);
    void OnDeleteAction(int);
    void OnClearActions(int);
    void OnMoveAction(int id);
    void OnRecordDelays(int);

    bool loadSkin();
    void createControls();
    void placeControls();
    void setTexts();
    void placeBesideKeyButton(int buttonId);
    void closeDialog();

    // Showing the session.
    void showTab();
    void showCapturedKey();
    void showMacroList();
    void showActions();
    void showActionRow(int row);
    void showRecordingState();
    void showChanged();
    void updateKeyGrab();
    void afterEdit();

    void onMacroBoxText(const QString& text);
    void onMacroSelected(int index);
    void onLoopCountEdited(const QString& text);
    bool handleKey(QKeyEvent& event);

    CQuillmarDlg& main_;
    CompositeDialogSetup setup_;
    config::CompositeSession session_;
    CompositeRequest request_;
    std::unique_ptr<SkinSurfaces> surfaces_;
    std::map<int, QWidget*> controls_;
    QTableWidget* actionList_ = nullptr;
    QComboBox* macroBox_ = nullptr;
    QLineEdit* captureField_ = nullptr;
    QLineEdit* loopCount_ = nullptr;
    QListWidget* mediaList_ = nullptr;
    QListWidget* functionList_ = nullptr;
    QCheckBox* recordDelays_ = nullptr;
    QWidget* cellEditor_ = nullptr;
    int editedRow_ = -1;
    int editedColumn_ = -1;
    QString onScreenKeyboard_;
    bool skinLoaded_ = false;
    bool filtering_ = false;
    bool grabbing_ = false;
    bool suppressSelection_ = false;
};

// Installs the key and macro dialog as the main window's key editor.
Quillmar_DlgComposite* attachCompositeDialog(CQuillmarDlg& mainWindow, const CompositeDialogSetup& setup);

}  // namespace quillmar::shell
