#pragma once

#include "config/Configuration.h"
#include "config/DeviceImageDownload.h"
#include "device/DeviceLink.h"
#include "device/MainWindowLink.h"
#include "keyboard/DefaultAssignments.h"
#include "keyboard/KeySlots.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingControl.h"
#include "platform/Prompt.h"
#include "text/Texts.h"
#include "platform/UserSettings.h"
#include "profiles/EditHistory.h"
#include "profiles/ProfileMenu.h"
#include "profiles/ProfileSwitching.h"
#include "profiles/ProfileWindow.h"
#include "shell/window/BackupChooser.h"
#include "shell/window/CompositeRequest.h"
#include "shell/window/FileChooser.h"
#include "shell/window/LightingPanelHooks.h"
#include "shell/window/MessageMap.h"
#include "shell/window/ProfileDialogHooks.h"

#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class QLabel;
class QMenu;
class QTimer;

namespace quillmar::shell {

class CPngButton;
class DownloadProgressBar;
class CTrayIcon;
class LightingPanelWindow;
class SkinSurfaces;
class WindowThreadPrompt;

// What the application gives its main window.
struct MainWindowSetup {
    std::filesystem::path programDirectory;  // Skins/ and Help/ are there
    std::filesystem::path userFolder;        // the per-user "Gaming Keyboard" folder
    const text::Texts& texts;
    platform::UserSettings& settings;
    config::Configuration& configuration;
};

// The main window: the skinned on-screen keyboard, the profile, window and
// lighting controls, and the target of the program's custom messages. Every
// control, message and timer is routed through one message map; worker
// threads reach it through MainWindowLink, which marshals to the window
// thread; profile switching reaches it through ProfileWindow.
class CQuillmarDlg final : public QWidget, public device::MainWindowLink, public profiles::ProfileWindow {
    Q_OBJECT
public:
    explicit CQuillmarDlg(MainWindowSetup setup);
    ~CQuillmarDlg() override;

    // Seams; the window's own message boxes and file dialogs until replaced.
    void setPrompt(platform::Prompt& prompt);
    void setFileChooser(FileChooser& chooser);
    void setBackupChooser(BackupChooser& chooser) { backupChooser_ = &chooser; }
    void setCompositeOpener(CompositeOpener opener) { compositeOpener_ = std::move(opener); }
    void setProfileDialog(ProfileDialogHooks& dialog) { profileDialog_ = &dialog; }
    // Hands the help page and the web address to a browser; false when none
    // could be started. Tests answer it.
    using DocumentOpener = std::function<bool(const QUrl&)>;
    void setDocumentOpener(DocumentOpener opener) { documentOpener_ = std::move(opener); }
    void setLightingPanel(LightingPanelHooks& panel) { lightingPanel_ = &panel; }

    // Whether a keyboard is plugged in that this user may not open; none unless given.
    void setKeyboardAccessCheck(std::function<bool()> presentButClosed) { presentButClosed_ = std::move(presentButClosed); }

    // Whether the desktop has a tray; the platform's answer unless replaced.
    void setTrayAvailability(std::function<bool()> available) { trayAvailable_ = std::move(available); }

    // "/Start": the keyboard's arrival does not show the window.
    void setStartHidden() { startHidden_ = true; }

    // The window's initialisation after the service library is bound: the
    // device link and its start, the skin and controls, the window texts,
    // "INIT" posted to itself and the preview timer. False when a state
    // picture of the skin cannot be loaded; the program cannot run then.
    bool OnInitDialog(const device::HidService& service, device::LinkTiming timing = {});

    // The message map, on the window thread. Unrouted messages and commands
    // return false.
    bool SendWindowMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam);
    bool OnCommand(int id);
    bool OnTimer(int timerId);
    bool isTimerActive(int timerId) const;

    // Controls by id; nullptr for an id the window does not have.
    QWidget* control(int id) const;
    CPngButton* button(int id) const;
    QMenu* buildButtonMenu();
    QWidget* aboutBox() const { return aboutBox_; }

    device::DeviceLink& link() { return *link_; }
    lighting::LightingControl& lighting() { return *lighting_; }
    lighting::KeyColours& keyColours() { return *keyColours_; }
    // The window's own lighting panel; nullptr when a replacement was given.
    LightingPanelWindow* lightingPanel() const { return ownLightingPanel_.get(); }
    CTrayIcon* trayIcon() const { return trayIcon_.get(); }
    const profiles::ProfileMenu& profileMenu() const { return profileMenu_; }
    bool colourKeysMode() const { return colourKeysMode_; }
    // An edit of the working configuration: Apply becomes available.
    void markChanged();
    // Macros other profiles play have moved: the next Apply downloads the
    // key blocks of all three profiles.
    void requireAllProfilesDownload() { allProfilesPending_ = true; }
    // The profile dialog's Apply: the profile becomes the keyboard's active
    // one (nothing changes for -1), the configuration is read back from the
    // keyboard and the profile menu rebuilt; Apply is disabled.
    void activateProfileFromDialog(int profile);
    // Undo and redo of the user's edits, one step at a time (Ctrl+Z; Ctrl+Shift+Z
    // and Ctrl+Y). Configuration steps enable Apply; lighting and colour steps
    // are written at once. False when there is nothing to do or the window is busy.
    bool undo();
    bool redo();
    profiles::EditHistory& editHistory() { return history_; }
    // Runs an edit of the working configuration as one undo step.
    void recordConfigurationEdit(profiles::EditKind kind, const std::function<void()>& edit);
    // The line that says what the next undo and redo would do.
    QLabel* undoStatus() const { return undoStatus_; }
    // What every part of the program tells the user through.
    platform::Prompt& prompt();
    FileChooser& fileChooser() { return *fileChooser_; }
    bool isShuttingDown() const { return shuttingDown_.load(); }
    bool isDownloading() const { return downloadRunning_; }
    DownloadProgressBar* downloadProgress() const { return downloadProgress_; }
    int busyIndicatorFrame() const { return busyFrame_; }

    // The G buttons' looks for the current bank.
    void refreshBankKeys();
    // The profile the keyboard has active; 0 while it is not known.
    int currentProfile();

    // MainWindowLink: callable from any thread.
    void sendMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) override;
    void postMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) override;
    bool isInitialised() const override { return initialised_.load(); }
    void setTrayIcon(int iconId) override;
    void hide() override;
    void setButtonText(int controlId, const std::u16string& text) override;
    void setButtonStateImages(int controlId, const std::array<std::string, 5>& pictures) override;
    void startTimer(int timerId, int periodMs) override;

    // ProfileWindow: on the window thread.
    bool isEditorOpen() const override { return editorOpen_; }
    bool isApplyEnabled() const override;
    void disableApply() override;
    void runApply() override;
    bool isProfileDialogOpen() const override { return profileDialog_->isOpen(); }
    bool isProfileDialogApplyEnabled() const override { return profileDialog_->isApplyEnabled(); }
    void showProfileInDialog(int profile) override { profileDialog_->showProfile(profile); }
    void selectProfileButton(int profile) override;
    void refreshKeyButtons(int profile) override;
    void leaveColourKeysMode(const std::u16string& switchText) override;
    void refillColourSchemes(int profile) override { lightingPanel_->refillColourSchemes(profile); }
    void refreshLightingControls() override { lightingPanel_->refreshControls(); }
    void closeLightingPanel() override;
    void showProfileMenu(const profiles::ProfileMenu& menu) override;
    void editsDiscarded() override;

signals:
    // The shutdown has run: the application ends.
    void modalRunEnded();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The routing tables (message, command, timer), one static table each.
    static const MessageMap<CQuillmarDlg>& messageMap();

    // Message handlers.
    void OnInitMessage(std::uint32_t, std::uint32_t);
    void OnOpenMessage(std::uint32_t, std::uint32_t);
    void OnKillMessage(std::uint32_t, std::uint32_t);
    void OnReloadProfile(std::uint32_t, std::uint32_t);
    void OnCloseEditors(std::uint32_t, std::uint32_t);
    void OnRefreshGKeys(std::uint32_t, std::uint32_t);
    void OnSliderMoved(std::uint32_t wParam, std::uint32_t lParam);
    void OnTimeChange(std::uint32_t, std::uint32_t);
    void OnSystemCommand(std::uint32_t wParam, std::uint32_t);
    void OnHelpMessage(std::uint32_t, std::uint32_t);

    // Command handlers.
    void OnOk(int);
    void OnCancel(int);
    void onKeyButton(int buttonId);
    void OnMacroEdit(int);
    void OnFn(int);
    void OnProfileDialog(int);
    void OnApply(int);
    void OnLink(int);
    void OnHelp(int);
    void OnMinimise(int);
    void OnExit(int);
    void OnNothing(int);
    void OnFlip(int);
    void OnProfileButton(int id);
    void OnRestoreDefaults(int);
    void OnButtonMenu(int);
    void toggleColourKeysMode(int);
    void OnLightingControl(int id);
    void OnOpenCommand(int);
    void OnAbout(int);
    void OnImport(int);
    void OnExport(int);
    void OnBackups(int);

    // Timer handlers.
    void OnBusyIndicatorTick();
    void OnLightingChangedTick();
    void OnPreviewTick();

    bool loadSkin();
    void createControls();
    void createUndoControls();
    bool stepHistory(bool back);
    void showEditHistory();
    void placeEditHistory();
    void createLightingPanel();
    void placeControls();
    void refreshWindowTexts();
    void applyFlipMode();
    // Whether the keyboard has a position for a layout key button's key (see
    // keyboard::hasKeyPosition); every other button counts as assignable.
    bool isAssignable(int buttonId) const;
    void showKeyButton(int buttonId, const keyboard::KeyDescription& description);
    void showColourKeyFlags();
    void toggleColourKeyFlag(int buttonId);
    void openCompositeDialog(const CompositeRequest& request);
    void showBusyIndicator(bool shown);
    void createTrayIcon();
    void tellFolderUnwritableOnce();
    void refreshFromKeyboardLighting();
    // Keeps the keyboard's configuration before the operation overwrites it;
    // when that fails, whether the user still wants the operation.
    bool backUpFirst(std::string_view operation);
    void restoreBackup(const std::string& name);
    // Told once a download failed: the keyboard's removal cut it short.
    void tellIfTheKeyboardLeft(int removalsBefore);
    // Runs a download on a worker thread while the window stays modal; one
    // at a time. The download's result.
    bool runDownload(const std::function<bool(const config::DownloadTarget&)>& download);
    void showDownloadProgress();
    void reloadIfTheKeyboardReturned();
    void closeNoKeyboardMessages();
    void shutdown();
    void beginShutdown();
    void stopTimer(int timerId);
    void openDocument(const QUrl& url);
    keyboard::GKeyBank bank() const;
    keyboard::ProfileAssignments profileRecords(int profile);
    keyboard::MacroNameLookup macroNames() const;
    std::filesystem::path profileFile() const;
    std::filesystem::path mainSkinFile() const;
    // The web address of the link button, from the skin.
    QString webAddress() const;
    // Runs work on the window thread and waits for it; gives up without
    // running it once the window shuts down.
    void runOnWindowThread(const std::function<void()>& work);
    void queueOnWindowThread(std::function<void()> work);
    bool onWindowThread() const;

    MainWindowSetup setup_;
    const text::Texts& texts_;
    DocumentOpener documentOpener_;
    std::unique_ptr<platform::Prompt> ownPrompt_;
    std::function<bool()> presentButClosed_;
    std::unique_ptr<WindowThreadPrompt> prompt_;  // what every part of the program is told through
    std::unique_ptr<FileChooser> ownFileChooser_;
    FileChooser* fileChooser_;
    std::unique_ptr<BackupChooser> ownBackupChooser_;
    BackupChooser* backupChooser_;
    LightingPanelHooks defaultLightingPanel_;
    LightingPanelHooks* lightingPanel_ = &defaultLightingPanel_;
    CompositeOpener compositeOpener_;
    ProfileDialogHooks defaultProfileDialog_;
    ProfileDialogHooks* profileDialog_ = &defaultProfileDialog_;
    std::function<bool()> trayAvailable_;

    std::unique_ptr<device::DeviceLink> link_;
    std::unique_ptr<lighting::LightingControl> lighting_;
    std::unique_ptr<lighting::KeyColours> keyColours_;
    std::unique_ptr<LightingPanelWindow> ownLightingPanel_;
    std::unique_ptr<profiles::ProfileSwitching> switching_;
    profiles::EditHistory history_;
    QLabel* undoStatus_ = nullptr;
    std::unique_ptr<CTrayIcon> trayIcon_;
    profiles::ProfileMenu profileMenu_;
    std::unique_ptr<SkinSurfaces> surfaces_;
    std::map<int, QWidget*> controls_;
    std::map<int, QTimer*> timers_;
    QPointer<QWidget> aboutBox_;
    std::vector<QPixmap> busyFrames_;
    QLabel* busyIndicator_ = nullptr;
    DownloadProgressBar* downloadProgress_ = nullptr;
    int busyFrame_ = 0;

    bool colourKeysMode_ = false;
    bool allProfilesPending_ = false;
    bool editorOpen_ = false;
    bool startHidden_ = false;
    bool folderUnwritableTold_ = false;
    bool downloadRunning_ = false;
    std::atomic<int> downloadDone_{0};   // commands sent, counted by the download's thread
    std::atomic<int> downloadTotal_{0};
    bool reloadWaiting_ = false;  // an arrival came during a download
    int removals_ = 0;            // keyboard removals seen, to tell a cut-short download
    std::atomic<bool> initialised_{false};
    std::atomic<bool> shuttingDown_{false};
    std::mutex sendMutex_;
    std::condition_variable sendFinished_;
};

}  // namespace quillmar::shell
