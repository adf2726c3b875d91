// The main window's routing tables.
#include "shell/window/CQuillmarDlg.h"

#include "device/WindowMessages.h"
#include "shell/window/MainWindowIds.h"

namespace quillmar::shell {

using namespace main_window;
using Map = MessageMap<CQuillmarDlg>;

const Map& CQuillmarDlg::messageMap() {
    static constexpr Map::MessageRoute kMessages[] = {
        {device::kMessageInit, false, device::kTagInit, &CQuillmarDlg::OnInitMessage},
        {device::kMessageOpen, false, device::kTagOpen, &CQuillmarDlg::OnOpenMessage},
        {device::kMessageKill, false, device::kTagKill, &CQuillmarDlg::OnKillMessage},
        {device::kMessageReloadProfile, false, device::kTagProf, &CQuillmarDlg::OnReloadProfile},
        {device::kMessageCloseEditors, false, 0, &CQuillmarDlg::OnCloseEditors},
        {device::kMessageRefreshGKeys, false, device::kTagDel, &CQuillmarDlg::OnRefreshGKeys},
        {kMessageSliderMoved, true, 0, &CQuillmarDlg::OnSliderMoved},
        {kMessageTimeChange, true, 0, &CQuillmarDlg::OnTimeChange},
        {kMessageSystemCommand, true, 0, &CQuillmarDlg::OnSystemCommand},
        {kMessageHelp, true, 0, &CQuillmarDlg::OnHelpMessage},
    };
    // First match wins: Fn and the busy indicator lie inside the lighting
    // panel's range.
    static constexpr Map::CommandRoute kCommands[] = {
        {kOk, kOk, &CQuillmarDlg::OnOk},
        {kCancel, kCancel, &CQuillmarDlg::OnCancel},
        {1000, 1004, &CQuillmarDlg::onKeyButton},
        {1140, 1143, &CQuillmarDlg::onKeyButton},
        {kMacroEdit, kMacroEdit, &CQuillmarDlg::OnMacroEdit},
        {1010, 1120, &CQuillmarDlg::onKeyButton},
        {1207, 1207, &CQuillmarDlg::onKeyButton},
        {kFn, kFn, &CQuillmarDlg::OnFn},
        {kProfileDialogButton, kProfileDialogButton, &CQuillmarDlg::OnProfileDialog},
        {kApply, kApply, &CQuillmarDlg::OnApply},
        {kLink, kLink, &CQuillmarDlg::OnLink},
        {kHelp, kHelp, &CQuillmarDlg::OnHelp},
        {kMinimise, kMinimise, &CQuillmarDlg::OnMinimise},
        {kClose, kClose, &CQuillmarDlg::OnExit},
        {kBankLight, kFlip0, &CQuillmarDlg::OnNothing},
        {kFlip1, kFlip2, &CQuillmarDlg::OnFlip},
        {kLeftArrow, kVersion, &CQuillmarDlg::OnNothing},
        {kFirstProfileButton, kFirstProfileButton + 2, &CQuillmarDlg::OnProfileButton},
        {kRestoreDefaults, kRestoreDefaults, &CQuillmarDlg::OnRestoreDefaults},
        {kButtonMenu, kButtonMenu, &CQuillmarDlg::OnButtonMenu},
        {kSwitch, kSwitch, &CQuillmarDlg::toggleColourKeysMode},
        {kBusyIndicator, kBusyIndicator, &CQuillmarDlg::OnNothing},
        {kFirstLightingControl, kLastLightingControl, &CQuillmarDlg::OnLightingControl},
        {kCommandOpen, kCommandOpen, &CQuillmarDlg::OnOpenCommand},
        {kCommandAbout, kCommandAbout, &CQuillmarDlg::OnAbout},
        {kCommandExit, kCommandExit, &CQuillmarDlg::OnExit},
        {kCommandMenuClose, kCommandMenuClose, &CQuillmarDlg::OnExit},
        {kCommandImport, kCommandImport, &CQuillmarDlg::OnImport},
        {kCommandExport, kCommandExport, &CQuillmarDlg::OnExport},
        {kCommandBackups, kCommandBackups, &CQuillmarDlg::OnBackups},
    };
    static constexpr Map::TimerRoute kTimers[] = {
        {kTimerBusyIndicator, &CQuillmarDlg::OnBusyIndicatorTick},
        {kTimerLightingChanged, &CQuillmarDlg::OnLightingChangedTick},
        {kTimerPreview, &CQuillmarDlg::OnPreviewTick},
    };
    static constexpr Map kMap{kMessages, kCommands, kTimers};
    return kMap;
}

}  // namespace quillmar::shell
