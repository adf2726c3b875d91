#pragma once

#include "lighting/LightingPanel.h"
#include "profiles/EditHistory.h"
#include "text/Texts.h"
#include "shell/window/LightingPanelHooks.h"

#include <QPixmap>

#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

class QWidget;

namespace quillmar::shell {

class CPngButton;

// What the lighting panel needs of its window.
struct LightingPanelSetup {
    std::function<QWidget*(int)> control;
    std::function<CPngButton*(int)> button;
    std::filesystem::path mainSkinFile;  // Skins/Main.ini; the pictures are beside it
    int language = 1;                    // 0 Chinese, 1 English
    const text::Texts& texts;
    // The guard a profile change uses, asked before the panel opens.
    std::function<bool()> mayOpen;
    // The key buttons show their assignments again.
    std::function<void()> showAssignments;
    // Runs an action that edits the keyboard's lighting or colours, so that
    // it can be undone as one step of the kind; none runs it plainly.
    std::function<void(profiles::EditKind, const std::function<void()>&)> recordEdit;
};

// The lighting panel's controls in the main window: shows the panel's view,
// forwards each control's notice to the core panel and colours the key
// buttons it is handed, repainting only those whose look changed.
class LightingPanelWindow final : public LightingPanelHooks {
public:
    LightingPanelWindow(LightingPanelSetup setup, lighting::LightingControl& control, lighting::KeyColours& keyColours);

    // The widget for a lighting control id, made with the right kind.
    static QWidget* createControl(int id, QWidget* parent);

    void onControl(int controlId) override;
    void onSliderMoved(std::uint32_t wParam, std::uint32_t lParam) override;
    void paintKey(int buttonId) override;
    void previewStep() override;
    void refreshControls() override;
    void refillColourSchemes(int profile) override;
    void closePanel() override;
    void restoreDefaults() override;

    // The scheme list's edit text became the current scheme's name.
    void renameScheme(const std::u16string& name);

    lighting::LightingPanel& panel() { return panel_; }
    lighting::LightingPreview& preview() { return preview_; }
    // Applies the looks to the key buttons; public for measuring.
    void applyLooks(std::span<const lighting::ButtonLook> looks);

private:
    void show();
    void showTexts();
    void showEffectList(const lighting::PanelView& view);
    void showSchemeList(const lighting::PanelView& view);
    void placeDirectionControls(const lighting::DirectionPlacement& placement);
    void setPicture(int id, std::string_view file);
    void setVisible(int id, bool visible);
    const QPixmap& picture(std::string_view file);
    lighting::LightingPanel::LookSink sink();
    void edit(profiles::EditKind kind, const std::function<void()>& action);

    LightingPanelSetup setup_;
    lighting::LightingPreview preview_;
    lighting::LightingPanel panel_;
    std::map<std::string, QPixmap, std::less<>> pictures_;
    std::string placedDirection_;
};

}  // namespace quillmar::shell
