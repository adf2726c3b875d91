// The main window's handlers: each reads a control, calls the core and shows
// the result.
#include "shell/window/CQuillmarDlg.h"

#include "config/ApplyChanges.h"
#include "config/AssignmentBlock.h"
#include "config/DeviceImageDownload.h"
#include "device/WindowMessages.h"
#include "keyboard/KeyButtons.h"
#include "keyboard/KeyDescription.h"
#include "keyboard/KeyName.h"
#include "keyboard/KeyPositions.h"
#include "keyboard/LayoutKeyList.h"
#include "lighting/EffectTable.h"
#include "text/IniFile.h"
#include "profiles/KeyboardReadback.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileTransfer.h"
#include "text/SlotText.h"
#include "profiles/UserFolder.h"
#include "shell/skin/SkinPlacement.h"
#include "shell/skin/SkinSurfaces.h"
#include "shell/tray/CTrayIcon.h"
#include "shell/window/WindowThreadPrompt.h"
#include "shell/widgets/CPngButton.h"
#include "shell/window/AboutBox.h"
#include "shell/window/BusyIndicator.h"
#include "shell/window/DownloadProgressBar.h"
#include "shell/window/EditingDialog.h"
#include "shell/window/FlipMode.h"
#include "shell/window/KeyFiltering.h"
#include "shell/window/MainSkinTable.h"
#include "shell/window/MainWindowIds.h"
#include "shell/window/QtText.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QEventLoop>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <thread>
#include <utility>

namespace quillmar::shell {

using namespace main_window;

namespace {

// The virtual-key code of the keys the keyboard filtering looks at; 0 for
// the rest.
int virtualKeyOf(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kVirtualKeyReturn;
    case Qt::Key_Escape: return kVirtualKeyEscape;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_ScrollLock: return kVirtualKeyScrollLock;
    default: return 0;
    }
}

}  // namespace

// ---- Custom messages ----------------------------------------------------

void CQuillmarDlg::OnInitMessage(std::uint32_t, std::uint32_t) {
    createTrayIcon();
    switching_->rebuildProfileMenu();
    initialised_.store(true);
    // Without a tray the window is the user's only handle on the program.
    if (trayIcon_->isPresent()) {
        QWidget::hide();
    } else {
        showNormal();
    }
}

void CQuillmarDlg::createTrayIcon() {
    const std::filesystem::path skinFolder = setup_.programDirectory / "Skins";
    trayIcon_ = trayAvailable_ ? std::make_unique<CTrayIcon>(texts_, skinFolder, trayAvailable_)
                               : std::make_unique<CTrayIcon>(texts_, skinFolder);
    connect(trayIcon_.get(), &CTrayIcon::commandChosen, this, [this](int command) { OnCommand(command); });
    connect(trayIcon_.get(), &CTrayIcon::trayAvailabilityChanged, this, [this](bool available) {
        if (!available && !isShuttingDown()) showNormal();
    });
    trayIcon_->CreateTrayIcon(texts_.text("KEYBOARD_TRAY_DESC", u"Velmora"), device::kIconNoKeyboard);
}

void CQuillmarDlg::OnOpenMessage(std::uint32_t, std::uint32_t) {
    if (link_ && link_->presence().connectedCount() > 0) {
        setWindowFlag(Qt::Tool, false);
        showNormal();
        raise();
        activateWindow();
        return;
    }
    // A keyboard that is there but may not be opened is not reported as missing.
    if (presentButClosed_ && presentButClosed_())
        prompt_->showMessage(texts_.text("MAIN_NO_ACCESS_PROMPT", u"The keyboard is connected, but you may not open it."));
    else
        prompt_->showMessage(texts_.text("MAIN_NO_DEVICE_PROMPT", u"Keyboard is not connected"));
}

// "/Kill" closes without a question: nobody may be there to answer it.
void CQuillmarDlg::OnKillMessage(std::uint32_t, std::uint32_t) {
    if (downloadRunning_) {  // the download ends first; the keyboard keeps all of it
        QTimer::singleShot(kBusyIndicatorPeriodMs, this, [this] { OnKillMessage(device::kTagKill, 0); });
        return;
    }
    QWidget::hide();
    shutdown();
}

void CQuillmarDlg::OnReloadProfile(std::uint32_t, std::uint32_t lParam) {
    const bool askedByAnotherProgram = lParam != 0;
    if (askedByAnotherProgram && link_->presence().connectedCount() == 0) return;
    if (downloadRunning_) {
        reloadWaiting_ = true;
        return;
    }
    closeNoKeyboardMessages();
    // Another program may have written to the keyboard: nothing is known of
    // it until it is read again.
    link_->commands().mirror().forget();
    // Edits the keyboard does not have yet (unapplied, or a download cut
    // short) are never dropped without asking.
    if (isApplyEnabled() &&
        prompt_->askYesNoDefaultYes(texts_.text("MAIN_KEYBOARD_BACK_WITH_EDITS", u"Write the changes to the keyboard?"))) {
        runApply();
        refreshFromKeyboardLighting();
        return;
    }
    const profiles::KeyboardReadSource source = profiles::readSourceOf(*link_, texts_);
    history_.setConfiguration(profiles::keyboardDigest(setup_.configuration.working, link_->presence().defaultKeyTable()));
    const auto result = profiles::refreshFromKeyboard(setup_.configuration.working, profiles::UserFolder(setup_.userFolder),
                                                      source, false, [this] { refreshKeyButtons(currentProfile()); },
                                                      [this] { keyColours_->PrepareUserColourFiles(); });
    if (result.disableApply) disableApply();
    // Steps built on another configuration than the keyboard's would restore nonsense.
    history_.keepFor(profiles::keyboardDigest(setup_.configuration.working, link_->presence().defaultKeyTable()));
    if (result.fromKeyboard && !result.fileWritten) tellFolderUnwritableOnce();
    switching_->showActiveProfile();
    switching_->rebuildProfileMenu();
    refreshFromKeyboardLighting();
}

void CQuillmarDlg::refreshFromKeyboardLighting() {
    lighting_->ReadLightingState();
    const auto& effects = lighting_->state().effects;
    if (std::ranges::find(effects, lighting::kPerKeyColourEffect) != effects.end())
        refillColourSchemes(lighting_->state().profile);
    refreshLightingControls();
}

// The keyboard's settings are shown and applied all the same; the user only
// learns that this computer keeps no copy of them.
// "No keyboard found" boxes still open when the keyboard is back no longer apply.
void CQuillmarDlg::closeNoKeyboardMessages() {
    const QString noKeyboard = toQString(texts_.text("MAIN_NO_DEVICE_PROMPT", u"Keyboard is not connected"));
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible() && box->text() == noKeyboard) box->accept();
    }
}

void CQuillmarDlg::tellFolderUnwritableOnce() {
    if (std::exchange(folderUnwritableTold_, true)) return;
    std::u16string text = texts_.text("MAIN_FOLDER_READ_ONLY", u"The folder %s cannot be written.");
    if (const auto at = text.find(u"%s"); at != std::u16string::npos)
        text.replace(at, 2, setup_.userFolder.u16string());
    prompt_->showMessage(text);
}

void CQuillmarDlg::OnCloseEditors(std::uint32_t, std::uint32_t) {
    ++removals_;
    if (aboutBox_) aboutBox_->close();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog->isVisible() && isEditingDialog(*dialog)) dialog->reject();
    }
}

void CQuillmarDlg::OnRefreshGKeys(std::uint32_t, std::uint32_t) { refreshBankKeys(); }

void CQuillmarDlg::OnSliderMoved(std::uint32_t wParam, std::uint32_t lParam) {
    lightingPanel_->onSliderMoved(wParam, lParam);
}

void CQuillmarDlg::OnTimeChange(std::uint32_t, std::uint32_t) { runApply(); }

void CQuillmarDlg::OnSystemCommand(std::uint32_t wParam, std::uint32_t) {
    if (wParam >= kFirstSystemMenuAbout && wParam <= kLastSystemMenuAbout) OnAbout(kCommandAbout);
}

void CQuillmarDlg::OnHelpMessage(std::uint32_t, std::uint32_t) { OnHelp(kHelp); }

// ---- Commands -----------------------------------------------------------

void CQuillmarDlg::OnOk(int) {
    runApply();
    QWidget::hide();
}

void CQuillmarDlg::OnCancel(int) { QWidget::hide(); }

void CQuillmarDlg::onKeyButton(int buttonId) {
    const bool gKey = keyboard::gKeyNumberOfButton(buttonId).has_value();
    if (lighting_->state().panelOpen && !gKey) {
        lightingPanel_->paintKey(buttonId);
        return;
    }
    const auto slot = keyboard::slotOfButton(buttonId, bank());
    if (!slot) return;
    if (colourKeysMode_) {
        toggleColourKeyFlag(buttonId);
        return;
    }
    if (!gKey && !isAssignable(buttonId)) {
        prompt_->showMessage(text::slotText(texts_, text::TextSlot::KEY_NOT_ASSIGNABLE));
        return;
    }
    openCompositeDialog({*slot, buttonId, buttonId == keyboard::kG9ButtonId});
}

void CQuillmarDlg::OnMacroEdit(int) { onKeyButton(keyboard::kG9ButtonId); }

void CQuillmarDlg::OnFn(int) {
    if (lighting_->state().panelOpen) lightingPanel_->paintKey(kFn);
}

void CQuillmarDlg::OnProfileDialog(int) { profileDialog_->run(); }

void CQuillmarDlg::activateProfileFromDialog(int profile) {
    if (profile >= 0 && link_) link_->commands().SetActiveProfile(profile);
    OnReloadProfile(device::kTagProf, 0);
    switching_->rebuildProfileMenu();
    disableApply();
}

platform::Prompt& CQuillmarDlg::prompt() { return *prompt_; }

void CQuillmarDlg::OnApply(int) { runApply(); }

void CQuillmarDlg::OnLink(int) {
    openDocument(QUrl(webAddress()));
}

void CQuillmarDlg::OnHelp(int) {
    openDocument(QUrl::fromLocalFile(QString::fromStdString((setup_.programDirectory / "Help" / "index.html").string())));
}

// Without a browser the user is told where the page is, so a click is never
// silently lost.
void CQuillmarDlg::openDocument(const QUrl& url) {
    if (url.isEmpty()) return;
    const bool opened = documentOpener_ ? documentOpener_(url) : QDesktopServices::openUrl(url);
    if (opened) return;
    const QString where = url.isLocalFile() ? url.toLocalFile() : url.toString();
    std::u16string message = text::slotText(texts_, text::TextSlot::HELP_PAGE_AT);
    if (const auto at = message.find(u"%s"); at != std::u16string::npos) message.replace(at, 2, where.toStdU16String());
    prompt_->showMessage(message);
}

void CQuillmarDlg::OnMinimise(int) {
    QTimer::singleShot(0, this, [this] { showMinimized(); });
}

void CQuillmarDlg::OnExit(int) {
    if (isApplyEnabled()) {
        const auto answer = prompt_->askYesNoCancel(
            texts_.text("MAIN_CLOSE_WITH_EDITS", u"Apply the changes to the keyboard before closing?"));
        if (answer == platform::Prompt::Answer::Cancel) return;
        if (answer == platform::Prompt::Answer::Yes) {
            runApply();
            if (isApplyEnabled()) return;  // not applied: the user sees why and decides again
        }
    }
    QWidget::hide();
    shutdown();
}

void CQuillmarDlg::OnNothing(int) {}

void CQuillmarDlg::OnFlip(int) {
    toggleFlipMode(setup_.settings);
    applyFlipMode();
}

void CQuillmarDlg::OnProfileButton(int id) { switching_->profileButtonPressed(id - kFirstProfileButton); }

void CQuillmarDlg::OnRestoreDefaults(int) {
    if (!prompt_->askYesNo(texts_.text("MAIN_PROMPT_DEFAULT", u"Do you want to restore the default settings?")))
        return;
    if (!backUpFirst(profiles::backup_operation::kRestoreDefaults)) return;
    // Keys and lighting go back together, and come back together on undo.
    history_.beginGroup(profiles::EditKind::RestoreDefaults, lighting_->state().profile);
    recordConfigurationEdit(profiles::EditKind::RestoreDefaults, [this] {
        const auto lock = setup_.configuration.working.lock();
        for (const auto& update : keyboard::restoreDefaultAssignments(profileRecords(currentProfile()), bank(), texts_))
            showKeyButton(update.buttonId, update.description);
    });
    if (lighting_->state().panelOpen) lightingPanel_->restoreDefaults();
    history_.endGroup();
    markChanged();
    runApply();
}

QMenu* CQuillmarDlg::buildButtonMenu() {
    auto* menu = new QMenu(this);
    static constexpr std::pair<const char*, int> kItems[] = {
        {"MENU_1", kCommandImport}, {"MENU_2", kCommandExport}, {"MENU_BACKUPS", kCommandBackups},
        {"MENU_3", kCommandAbout},  {"MENU_4", kCommandMenuClose}};
    for (const auto& [key, command] : kItems) {
        const std::u16string builtIn = command == kCommandBackups ? text::slotText(texts_, text::TextSlot::MENU_BACKUPS)
                                                                  : std::u16string(u" ");
        QAction* action = menu->addAction(toQString(texts_.text(key, builtIn)));
        action->setData(command);
    }
    return menu;
}

void CQuillmarDlg::OnButtonMenu(int) {
    QMenu* menu = buildButtonMenu();
    const QAction* chosen = menu->exec(QCursor::pos());
    const int command = chosen ? chosen->data().toInt() : 0;
    delete menu;
    if (command) OnCommand(command);
}

void CQuillmarDlg::toggleColourKeysMode(int) {
    colourKeysMode_ = !colourKeysMode_;
    button(kSwitch)->setText(toQString(colourKeysMode_
                                           ? texts_.text("MAIN_SWITCH_COLOR_TEXT", u"Switch to the function keys mode")
                                           : texts_.text("MAIN_SWITCH_FUNCTION_TEXT", u"Switch to the color keys mode")));
    showColourKeyFlags();
}

void CQuillmarDlg::leaveColourKeysMode(const std::u16string& switchText) {
    colourKeysMode_ = false;
    button(kSwitch)->setText(toQString(switchText));
    showColourKeyFlags();
}

void CQuillmarDlg::closeLightingPanel() {
    lighting_->setPanelOpen(false);
    lightingPanel_->closePanel();
}

void CQuillmarDlg::showProfileMenu(const profiles::ProfileMenu& menu) {
    profileMenu_ = menu;
    button(kProfileDialogButton)->setText(toQString(menu.caption));
    button(kProfileDialogButton)->setToolTipText(toQString(menu.tooltip));
}

// The steps were made on edits that are gone; undoing them would bring back
// pieces of what the user chose to drop.
void CQuillmarDlg::editsDiscarded() { history_.clear(); }

void CQuillmarDlg::OnLightingControl(int id) { lightingPanel_->onControl(id); }

void CQuillmarDlg::OnOpenCommand(int) { OnOpenMessage(device::kTagOpen, 0); }

void CQuillmarDlg::OnAbout(int) {
    if (aboutBox_) return;
    auto* box = new AboutBox(texts_, webAddress(), this);
    connect(box, &AboutBox::helpRequested, this, [this] { OnHelp(kHelp); });
    aboutBox_ = box;
    box->show();
}

void CQuillmarDlg::OnImport(int) {
    const auto path = fileChooser_->chooseFileToImport();
    if (!path) return;
    if (downloadRunning_) return;
    {
        // A refused file is told before anything is kept or changed.
        config::ConfigStore scratch;
        if (profiles::importConfigurationFile(scratch, *path, {}, *prompt_, texts_).status !=
            profiles::ImportStatus::Imported)
            return;
    }
    if (!backUpFirst(profiles::backup_operation::kImport)) return;
    config::ConfigStore& working = setup_.configuration.working;
    bool imported = false;
    recordConfigurationEdit(profiles::EditKind::Import, [&] {
        const auto lock = working.lock();
        const auto result = profiles::importConfigurationFile(working, *path, profileFile(), *prompt_, texts_);
        imported = result.status == profiles::ImportStatus::Imported;
    });
    if (!imported) return;
    const int removalsBefore = removals_;
    const bool downloaded = runDownload([this](const config::DownloadTarget& target) {
        return config::takeDownloadSnapshot(setup_.configuration, config::DownloadScope::AllProfiles, target) == 1;
    });
    refreshKeyButtons(currentProfile());
    reloadIfTheKeyboardReturned();
    if (downloaded) {
        disableApply();
        return;
    }
    // The imported settings are the window's now; Apply tries again, with
    // every profile the import brought.
    markChanged();
    requireAllProfilesDownload();
    if (removals_ != removalsBefore || link_->transaction().deviceCount() == 0) {
        tellIfTheKeyboardLeft(removalsBefore);
        return;
    }
    prompt_->showMessage(texts_.text("MAIN_IMPORT_NOT_DOWNLOADED", u"The keyboard did not take the import."));
}

void CQuillmarDlg::OnExport(int) {
    if (const auto path = fileChooser_->chooseFileToExport())
        profiles::exportConfiguration(setup_.configuration.working, *path);
}

void CQuillmarDlg::OnBackups(int) {
    if (downloadRunning_) return;
    const auto name = backupChooser_->chooseBackupToRestore(profiles::Backups(profiles::UserFolder(setup_.userFolder)).list());
    if (!name) return;
    const auto entry = profiles::Backups(profiles::UserFolder(setup_.userFolder)).find(*name);
    if (!entry) {
        prompt_->showMessage(profiles::backupText(texts_, text::TextSlot::BACKUP_NOT_FOUND, *name));
        return;
    }
    if (!prompt_->askYesNo(profiles::backupText(texts_, text::TextSlot::BACKUP_RESTORE_CONFIRM, entry->time))) return;
    restoreBackup(*name);
}

bool CQuillmarDlg::backUpFirst(std::string_view operation) {
    const profiles::Backups backups{profiles::UserFolder(setup_.userFolder)};
    if (backups.make(profiles::readSourceOf(*link_, texts_), operation)) return true;
    return prompt_->askYesNo(text::slotText(texts_, text::TextSlot::BACKUP_NOT_MADE));
}

// Puts the entry back as an import would, with the lighting records and
// colour schemes besides; the window then shows what the keyboard holds.
void CQuillmarDlg::restoreBackup(const std::string& name) {
    const auto entry = profiles::Backups(profiles::UserFolder(setup_.userFolder)).find(name);
    if (!entry) return;
    const auto content = profiles::loadBackupForRestore(*entry, *prompt_, texts_);
    if (!content || !backUpFirst(profiles::backup_operation::kRestore)) return;
    const profiles::UserFolder folder(setup_.userFolder);
    if (!profiles::installBackupConfiguration(setup_.configuration.working, *content, profileFile())) return;
    // Keys, lighting and colours are replaced wholesale: no earlier step applies to them.
    history_.clear();
    profiles::restoreColourFiles(*content, folder);
    const int removalsBefore = removals_;
    const std::filesystem::path colourTemplate = setup_.programDirectory / "Skins" / "UserDengColor_3.userd";
    const bool restored = runDownload([&](const config::DownloadTarget& target) {
        // The window's own colours stay with the window thread; this one only sends.
        lighting::KeyColours colours(target.commands, folder, colourTemplate);
        return profiles::restoreToKeyboard(setup_.configuration, content->lighting, target, colours);
    });
    refreshKeyButtons(currentProfile());
    refreshFromKeyboardLighting();
    reloadIfTheKeyboardReturned();
    if (restored) {
        disableApply();
        return;
    }
    markChanged();
    if (removals_ != removalsBefore || link_->transaction().deviceCount() == 0) {
        tellIfTheKeyboardLeft(removalsBefore);
        return;
    }
    prompt_->showMessage(text::slotText(texts_, text::TextSlot::BACKUP_NOT_RESTORED));
}

// ---- Timers -------------------------------------------------------------

void CQuillmarDlg::OnBusyIndicatorTick() {
    if (downloadRunning_) showDownloadProgress();
    busyFrame_ = (busyFrame_ + 1) % kBusyIndicatorFrames;
    if (busyIndicator_ && static_cast<std::size_t>(busyFrame_) < busyFrames_.size())
        busyIndicator_->setPixmap(busyFrames_[static_cast<std::size_t>(busyFrame_)]);
}

void CQuillmarDlg::OnLightingChangedTick() {
    stopTimer(kTimerLightingChanged);
    lighting_->ReadLightingState();
    lightingPanel_->refreshControls();
}

void CQuillmarDlg::OnPreviewTick() {
    stopTimer(kTimerPreview);
    if (lighting_->state().panelOpen) lightingPanel_->previewStep();
    startTimer(kTimerPreview, kPreviewPeriodMs);
}

// ---- Apply --------------------------------------------------------------

void CQuillmarDlg::runApply() {
    if (downloadRunning_) return;  // one download at a time
    BusyIndicator busy([this](bool shown) { queueOnWindowThread([this, shown] { showBusyIndicator(shown); }); });
    busy.show();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    if (isApplyEnabled()) {
        // Once the user knows the folder keeps nothing, the keyboard alone decides.
        const bool folderToldAbout = folderUnwritableTold_;
        const auto save = [this, folderToldAbout] {
            return profiles::saveProfileFile(setup_.configuration.working, profileFile()) == 1 || folderToldAbout ? 1 : 0;
        };
        const config::DownloadScope scope =
            allProfilesPending_ ? config::DownloadScope::AllProfiles : config::DownloadScope::ActiveProfile;
        const int removalsBefore = removals_;
        const bool applied = runDownload([this, &save, scope](const config::DownloadTarget& target) {
            return config::applyChanges(true, setup_.configuration, save, target, scope);
        });
        if (applied) {
            allProfilesPending_ = false;
            disableApply();
        } else {
            tellIfTheKeyboardLeft(removalsBefore);
        }
    }
    busy.hide();
    reloadIfTheKeyboardReturned();
}

bool CQuillmarDlg::runDownload(const std::function<bool(const config::DownloadTarget&)>& download) {
    config::DownloadTarget target = config::downloadTargetOf(*link_, *prompt_, texts_);
    config::takeDownloadSettings(target, setup_.settings);
    // The worker only counts; the window shows the count on its indicator's ticks.
    target.progress = [this](int done, int total) {
        downloadTotal_.store(total);
        downloadDone_.store(done);
    };
    downloadDone_.store(0);
    downloadTotal_.store(0);
    downloadRunning_ = true;
    bool result = false;
    QEventLoop modal;
    std::thread worker([&] {
        result = download(target);
        QMetaObject::invokeMethod(&modal, "quit", Qt::QueuedConnection);
    });
    // The window repaints and animates while the user's input waits.
    modal.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    downloadRunning_ = false;
    showDownloadProgress();
    return result;
}

void CQuillmarDlg::showDownloadProgress() {
    if (!downloadProgress_) return;
    const int total = downloadTotal_.load();
    downloadProgress_->setProgress(downloadDone_.load(), total);
    downloadProgress_->setVisible(total > 0 && downloadRunning_);
}

// An arrival that came while a download ran is taken up now that the
// keyboard is free.
void CQuillmarDlg::reloadIfTheKeyboardReturned() {
    if (!std::exchange(reloadWaiting_, false)) return;
    OnReloadProfile(device::kTagProf, 0);
}

// A download the keyboard's removal cut short leaves part of it on the
// keyboard; the edits stay here (Apply enabled) for its return.
void CQuillmarDlg::tellIfTheKeyboardLeft(int removalsBefore) {
    if (removals_ == removalsBefore && link_->transaction().deviceCount() > 0) return;
    prompt_->showMessage(texts_.text("MAIN_DOWNLOAD_INTERRUPTED", u"The download did not finish."));
}

void CQuillmarDlg::showBusyIndicator(bool shown) {
    if (!busyIndicator_) return;
    if (shown) {
        busyFrame_ = 0;
        if (!busyFrames_.empty()) busyIndicator_->setPixmap(busyFrames_.front());
        busyIndicator_->show();
        busyIndicator_->update();  // the window thread is free during downloads: no forced paint
        startTimer(kTimerBusyIndicator, kBusyIndicatorPeriodMs);
    } else {
        stopTimer(kTimerBusyIndicator);
        busyIndicator_->hide();
    }
}

// ---- Shutdown -----------------------------------------------------------

void CQuillmarDlg::shutdown() {
    if (shuttingDown_.load()) return;
    QWidget::hide();
    OnCloseEditors(0, 0);
    beginShutdown();
    for (auto& [id, timer] : timers_) timer->stop();
    if (trayIcon_) trayIcon_->RemoveTrayIcon();
    {
        config::BothStoresLock lock(setup_.configuration);
        setup_.configuration.working.releaseMacros();
        setup_.configuration.snapshot.releaseMacros();
    }
    emit modalRunEnded();
}

// ---- Key buttons --------------------------------------------------------

keyboard::GKeyBank CQuillmarDlg::bank() const {
    if (!link_) return keyboard::GKeyBank::A;
    return link_->requests().gKeyBank() == device::GKeyBank::B ? keyboard::GKeyBank::B : keyboard::GKeyBank::A;
}

int CQuillmarDlg::currentProfile() {
    // Not the connected count: an arriving keyboard is read and shown before
    // that count follows it.
    if (!link_ || link_->transaction().deviceCount() == 0) return 0;
    const int profile = link_->commands().GetActiveProfile();
    return profile >= 0 && profile < device::kProfileCount ? profile : 0;
}

std::filesystem::path CQuillmarDlg::profileFile() const { return profiles::UserFolder(setup_.userFolder).profileFile(); }

keyboard::ProfileAssignments CQuillmarDlg::profileRecords(int profile) {
    return setup_.configuration.working.records()
        .subspan(static_cast<std::size_t>(config::assignmentRecordIndex(profile, 0)))
        .first<keyboard::kSlotsPerProfile>();
}

keyboard::MacroNameLookup CQuillmarDlg::macroNames() const {
    const config::ConfigStore& working = setup_.configuration.working;
    return [&working](std::uint32_t id) {
        for (const config::MacroRecord& macro : working.macros())
            if (macro.id == id) return config::macroName(macro);
        return std::u16string();
    };
}

void CQuillmarDlg::showKeyButton(int buttonId, const keyboard::KeyDescription& description) {
    CPngButton* key = button(buttonId);
    if (!key) return;
    key->setSelected(description.assigned);
    key->setToolTipText(toQString(description.tooltip));
}

void CQuillmarDlg::refreshKeyButtons(int profile) {
    const auto lock = setup_.configuration.working.lock();
    const auto records = profileRecords(profile);
    const auto names = macroNames();
    for (std::size_t n = 1; n <= keyboard::kGKeyList.size(); ++n) {
        const int slot = keyboard::gKeySlotOf(static_cast<int>(n), bank());
        showKeyButton(keyboard::kGKeyList[n - 1],
                      keyboard::describeGKey(static_cast<int>(n), records[static_cast<std::size_t>(slot)], texts_, names));
    }
    const std::u16string notAssignable = text::slotText(texts_, text::TextSlot::KEY_NOT_ASSIGNABLE);
    for (const keyboard::LayoutKey& key : keyboard::kLayoutKeyList) {
        const int slot = keyboard::slotOfButton(key.buttonId, bank()).value_or(0);
        keyboard::KeyDescription description =
            keyboard::describeKey(key.keyCode, records[static_cast<std::size_t>(slot)], texts_, names);
        const bool assignable = isAssignable(key.buttonId);
        if (!assignable) description.tooltip = keyboard::keyName(key.keyCode, texts_) + u"\n" + notAssignable;
        showKeyButton(key.buttonId, description);
        if (CPngButton* shown = button(key.buttonId)) shown->setUnassignable(!assignable);
    }
    showColourKeyFlags();
    applyFlipMode();
}

bool CQuillmarDlg::isAssignable(int buttonId) const {
    const auto position = keyboard::layoutPositionOfButton(buttonId);
    if (!position || !link_) return true;
    return keyboard::hasKeyPosition(keyboard::kLayoutKeyList[*position].keyCode, link_->presence().defaultKeyTable());
}

void CQuillmarDlg::refreshBankKeys() {
    const auto lock = setup_.configuration.working.lock();
    const auto records = profileRecords(currentProfile());
    for (std::size_t n = 1; n <= keyboard::kGKeyList.size(); ++n) {
        const int slot = keyboard::gKeySlotOf(static_cast<int>(n), bank());
        button(keyboard::kGKeyList[n - 1])
            ->setSelected(records[static_cast<std::size_t>(slot)].type != keyboard::AssignmentType::Default);
    }
}

void CQuillmarDlg::showColourKeyFlags() {
    const auto lock = setup_.configuration.working.lock();
    const auto records = profileRecords(currentProfile());
    const auto show = [&](int buttonId) {
        CPngButton* key = button(buttonId);
        const auto record = keyboard::colourKeyFlagRecordOf(buttonId, bank());
        if (!key || !record) return;
        key->setColourKeyFlag(records[static_cast<std::size_t>(*record)].colourKeyFlag != 0);
        key->setColourKeyMode(colourKeysMode_);
    };
    for (int buttonId : keyboard::kGKeyList) show(buttonId);
    for (const keyboard::LayoutKey& key : keyboard::kLayoutKeyList) show(key.buttonId);
}

void CQuillmarDlg::toggleColourKeyFlag(int buttonId) {
    const auto record = keyboard::colourKeyFlagRecordOf(buttonId, bank());
    if (!record) return;
    bool on = false;
    recordConfigurationEdit(profiles::EditKind::ColourKey, [&] {
        const auto lock = setup_.configuration.working.lock();
        auto& flag = profileRecords(currentProfile())[static_cast<std::size_t>(*record)].colourKeyFlag;
        flag = flag ? 0 : 1;
        on = flag != 0;
    });
    button(buttonId)->setColourKeyFlag(on);
    markChanged();
}

void CQuillmarDlg::openCompositeDialog(const CompositeRequest& request) {
    CPngButton* key = button(request.buttonId);
    const ButtonSurfaces plain = key->faces();
    ButtonSurfaces highlighted = plain;
    highlighted.normal = plain.over;
    key->setFaces(highlighted);
    editorOpen_ = true;
    if (compositeOpener_) compositeOpener_(request);
    editorOpen_ = false;
    key->setFaces(plain);
}

void CQuillmarDlg::selectProfileButton(int profile) {
    for (int i = 0; i < device::kProfileCount; ++i) button(kFirstProfileButton + i)->setSelected(i == profile);
}

void CQuillmarDlg::applyFlipMode() {
    const bool flip = readFlipMode(setup_.settings);
    // F1..F4 and D1..D6 share their place: only the set in use is shown.
    for (const ButtonEnabling& state : flipButtonStates(flip)) {
        if (CPngButton* key = button(state.buttonId)) {
            key->setEnabled(state.enabled);
            key->setVisible(state.enabled);
        }
    }
    button(kFlip0)->setSelected(flip);
    for (const ArrowControl& arrow : flipArrows()) {
        PlaceWithImageKey(*button(arrow.id), mainSkinFile(), kButtonSection, arrow.skinKey, kArrowSection,
                          flip ? arrow.flipOnImageKey : arrow.flipOffImageKey, surfaces_->surface(kArrowPicture));
    }
    // Every button has cut its faces by now.
    surfaces_->release();
}

// ---- Keyboard filtering -------------------------------------------------

bool CQuillmarDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget))) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_F1 && event->type() == QEvent::KeyPress) {
        SendWindowMessage(kMessageHelp, 0, 0);
        return true;
    }
    const int virtualKey = virtualKeyOf(key);
    const QWidget* effectList = control(kFirstLightingControl);
    return swallowsKey(virtualKey, effectList && effectList->hasFocus());
}

}  // namespace quillmar::shell
