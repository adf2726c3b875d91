#include "lighting/LightingPanel.h"

#include "device/KeyboardLock.h"
#include "lighting/LightingSliders.h"

#include <algorithm>

namespace quillmar::lighting {
namespace {

using namespace panel_control;

std::string_view brushImage(bool selected) { return selected ? "user1down.bmp" : "user1up.bmp"; }
std::string_view eraserImage(bool selected) { return selected ? "user2down.bmp" : "user2up.bmp"; }

}  // namespace

LightingPanel::LightingPanel(LightingControl& control, KeyColours& keyColours, LightingPreview& preview)
    : control_(control), keyColours_(keyColours), preview_(preview) {}

bool LightingPanel::listsPerKeyColours() const {
    return std::ranges::find(state().effects, kPerKeyColourEffect) != state().effects.end();
}

bool LightingPanel::perKeyColoursShown() const { return state().panelOpen && state().effect == kPerKeyColourEffect; }

PanelView LightingPanel::view() const {
    const LightingState& s = state();
    PanelView view;
    view.open = s.panelOpen;
    view.lampImage = lampImage(s.panelOpen);
    view.visibleGroups = s.panelOpen ? visibleControlGroups(s.effect) : 0;
    for (std::uint8_t id : s.effects)
        if (id != 0) view.effectIds.push_back(id);
    view.selectedPosition = EffectIndexMap(s.effects).positionOf(s.effect);
    const int brightness = brightnessSliderPosition(s.brightness);
    view.brightness = {brightness, sliderBackgroundFile(brightnessBackground(brightness))};
    const int speed = speedSliderPosition(s.speed);
    view.speed = {speed, sliderBackgroundFile(speedBackground(speed))};
    view.colour = s.colour;
    view.multicolourImage = multicolourCheckboxImage(s.multicolour);
    view.directionImages = directionButtonImages(s.effect, s.direction);
    view.directionPlacement = directionPlacement(s.effect);
    for (int i = 0; i < kFixedColourCount; ++i) view.fixedColourImages[i] = fixedColourImage(i, i == s.fixedColour);
    view.pollingRate = s.pollingRate;
    view.scheme = keyColours_.scheme();
    view.paintColour = keyColours_.settings().paintColour;
    view.baseColour = keyColours_.settings().baseColour;
    view.brushImage = brushImage(keyColours_.tool() == PaintTool::Brush);
    view.eraserImage = eraserImage(keyColours_.tool() == PaintTool::Eraser);
    return view;
}

PreviewParameters LightingPanel::previewParameters() const {
    return {state().effect, state().direction, state().colour, state().multicolour};
}

void LightingPanel::previewStep(const LookSink& sink) { preview_.PreviewStep(previewParameters(), sink); }

void LightingPanel::showKeyColours(const LookSink& sink) {
    const std::vector<ButtonLook> looks = keyColours_.keyLooks(state().profile);
    preview_.forgetShownLooks();
    if (sink) sink(looks);
}

void LightingPanel::RefreshLightingControls(const LookSink& sink) {
    if (!state().panelOpen) return;
    if (state().effect == kPerKeyColourEffect) showKeyColours(sink);
    previewStep(sink);
}

void LightingPanel::SelectEffectAt(int position, const LookSink& sink) {
    const int id = EffectIndexMap(state().effects).effectAt(position);
    if (id == 0) return;
    preview_.ShowIdleKeys(sink);
    control_.SelectEffect(id);
    // An effect the program does not know is shown as chosen, without a write.
    control_.state().effect = id;
    if (id == kPerKeyColourEffect) showKeyColours(sink);
    preview_.ResetPreview();
    previewStep(sink);
}

void LightingPanel::MoveSlider(int sliderId, int position) {
    if (sliderId == kBrightnessSlider) control_.MoveBrightnessSlider(position);
    if (sliderId == kSpeedSlider) control_.MoveSpeedSlider(position);
}

void LightingPanel::SetDirection(int buttonId) {
    if (buttonId == kFirstDirection) control_.SetDirection(kDirectionFirst);
    if (buttonId == kSecondDirection) control_.SetDirection(kDirectionSecond);
}

void LightingPanel::ChooseColour(ColourValue colour) { control_.ChooseColour(colour & 0xFFFFFF); }

void LightingPanel::ToggleMulticolour() { control_.ToggleMulticolour(); }

void LightingPanel::SetFixedColour(int buttonId) {
    const int index = buttonId - kFirstFixedColour;
    if (index >= 0 && index < kFixedColourCount) control_.SetFixedColour(index);
}

void LightingPanel::SetPollingRate(int buttonId) {
    const auto found = std::ranges::find(kRateButtons, buttonId);
    if (found != kRateButtons.end()) control_.SetPollingRate(static_cast<int>(found - kRateButtons.begin()));
}

bool LightingPanel::ToggleLamp(const std::function<bool()>& mayEnter, const LookSink& sink) {
    if (state().panelOpen) {
        control_.setPanelOpen(false);
        preview_.ShowIdleKeys(sink);
        return true;
    }
    if (mayEnter && !mayEnter()) return false;
    control_.setPanelOpen(true);
    preview_.ResetPreview();
    if (state().effect == kPerKeyColourEffect) showKeyColours(sink);
    previewStep(sink);
    return false;
}

void LightingPanel::ClosePanel(const LookSink& sink) { preview_.ShowIdleKeys(sink); }

void LightingPanel::RestoreLightingDefaults(const LookSink& sink) {
    preview_.ShowIdleKeys(sink);
    // The effect, the colours and the record are one operation on the keyboard.
    const device::KeyboardLock keyboard;
    control_.SelectEffect(kDefaultEffect);
    preview_.ResetPreview();
    if (listsPerKeyColours()) keyColours_.RestoreUserColours(state().profile);
    control_.WriteDefaultRecord();
    previewStep(sink);
}

void LightingPanel::PreviewTick(const LookSink& sink) {
    if (state().panelOpen) previewStep(sink);
}

void LightingPanel::PaintKey(int buttonId, const LookSink& sink) {
    if (state().effect != kPerKeyColourEffect) return;
    const auto look = keyColours_.PaintKey(state().profile, buttonId);
    if (look && sink) sink(std::span<const ButtonLook>(&*look, 1));
}

void LightingPanel::ChangeBaseColour(ColourValue colour, const LookSink& sink) {
    const std::vector<ButtonLook> looks = keyColours_.ChangeBaseColour(state().profile, colour);
    if (perKeyColoursShown() && sink && !looks.empty()) sink(looks);
}

void LightingPanel::ChoosePaintColour(ColourValue colour) { keyColours_.ChoosePaintColour(state().profile, colour); }

void LightingPanel::ChooseTool(int buttonId) {
    if (buttonId == kBrush) keyColours_.ChooseTool(state().profile, PaintTool::Brush);
    if (buttonId == kEraser) keyColours_.ChooseTool(state().profile, PaintTool::Eraser);
}

void LightingPanel::SelectScheme(int scheme, const LookSink& sink) {
    keyColours_.SelectScheme(state().profile, scheme);
    if (perKeyColoursShown()) showKeyColours(sink);
}

bool LightingPanel::RenameScheme(const std::u16string& name) { return keyColours_.RenameScheme(state().profile, name); }

void LightingPanel::RefillColourSchemes(int profile) {
    keyColours_.loadSchemeNames(profile);
    keyColours_.ApplyColourScheme(profile);
}

}  // namespace quillmar::lighting
