#pragma once

#include "lighting/EffectList.h"
#include "lighting/EffectTable.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingControl.h"
#include "lighting/LightingImages.h"
#include "lighting/LightingPreview.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmar::lighting {

// Control ids of the lighting panel in the main window.
namespace panel_control {
inline constexpr int kEffectList = 1146;
inline constexpr int kFirstDirection = 1149;
inline constexpr int kSecondDirection = 1150;
inline constexpr int kColourB = 1152;
inline constexpr int kColourA = 1155;
inline constexpr int kMulticolourA = 1156;
inline constexpr int kMulticolourB = 1175;
inline constexpr int kPaintColour = 1160;
inline constexpr int kBaseColour = 1162;
inline constexpr int kBrush = 1164;
inline constexpr int kEraser = 1165;
inline constexpr int kLamp = 1167;
inline constexpr int kFirstFixedColour = 1194;  // 1194 red to 1197 blue
inline constexpr int kSchemeList = 1198;
inline constexpr std::array<int, 4> kRateButtons = {1147, 1168, 1169, 1170};
}  // namespace panel_control

struct SliderView {
    int position = 0;
    std::string background;
    bool operator==(const SliderView&) const = default;
};

// Everything the lighting panel's controls show, worked out from the state.
struct PanelView {
    bool open = false;
    std::string_view lampImage;
    ControlGroups visibleGroups = 0;  // none while the panel is closed
    std::vector<int> effectIds;       // the list's entries, in order
    int selectedPosition = -1;
    SliderView brightness;
    SliderView speed;
    ColourValue colour = 0;
    std::string_view multicolourImage;
    DirectionButtonImages directionImages;
    DirectionPlacement directionPlacement;
    std::array<std::string_view, kFixedColourCount> fixedColourImages;
    int pollingRate = 0;
    int scheme = 0;
    ColourValue paintColour = 0;
    ColourValue baseColour = 0;
    std::string_view brushImage;
    std::string_view eraserImage;
};

// The lighting panel's rules: what each control does to the keyboard and to
// the state, when the preview runs, and what the key buttons show. The window
// forwards the controls' notices, shows view() and applies the key looks it
// is handed. Used from the window thread only.
class LightingPanel {
public:
    using LookSink = LightingPreview::LookSink;

    LightingPanel(LightingControl& control, KeyColours& keyColours, LightingPreview& preview);

    PanelView view() const;
    const LightingState& state() const { return control_.state(); }
    bool listsPerKeyColours() const;
    bool perKeyColoursShown() const;

    // After the state was read: one preview step, or the per-key colours.
    void RefreshLightingControls(const LookSink& sink);
    void SelectEffectAt(int position, const LookSink& sink);
    // Slider 1178 or 1179 at a new position; any other control is ignored.
    void MoveSlider(int sliderId, int position);
    void SetDirection(int buttonId);
    void ChooseColour(ColourValue colour);
    void ToggleMulticolour();
    void SetFixedColour(int buttonId);
    void SetPollingRate(int buttonId);
    // Opens the panel when mayEnter agrees, or closes it. True when the panel
    // closed, so the key buttons show their assignments again.
    bool ToggleLamp(const std::function<bool()>& mayEnter, const LookSink& sink);
    void ClosePanel(const LookSink& sink);
    void RestoreLightingDefaults(const LookSink& sink);
    void PreviewTick(const LookSink& sink);

    // The per-key colours (effect 20).
    void PaintKey(int buttonId, const LookSink& sink);
    void ChangeBaseColour(ColourValue colour, const LookSink& sink);
    void ChoosePaintColour(ColourValue colour);
    void ChooseTool(int buttonId);
    void SelectScheme(int scheme, const LookSink& sink);
    bool RenameScheme(const std::u16string& name);
    // The scheme list of the profile and its current scheme, sent to the keyboard.
    void RefillColourSchemes(int profile);
    const std::array<std::u16string, profiles::kSchemeCount>& schemeNames() const { return keyColours_.schemeNames(); }

private:
    PreviewParameters previewParameters() const;
    void previewStep(const LookSink& sink);
    void showKeyColours(const LookSink& sink);

    LightingControl& control_;
    KeyColours& keyColours_;
    LightingPreview& preview_;
};

}  // namespace quillmar::lighting
