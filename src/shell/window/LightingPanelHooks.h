#pragma once

#include <cstdint>

namespace quillmar::shell {

// What the main window hands to its lighting panel: the panel's control
// notices, a key click while the panel is open, the preview tick and the
// refresh after the lighting was read, the colour schemes of a profile. The window's own default does nothing.
class LightingPanelHooks {
public:
    virtual ~LightingPanelHooks() = default;
    virtual void onControl(int /*controlId*/) {}
    virtual void onSliderMoved(std::uint32_t /*wParam*/, std::uint32_t /*lParam*/) {}
    virtual void paintKey(int /*buttonId*/) {}
    virtual void previewStep() {}
    virtual void refreshControls() {}
    virtual void refillColourSchemes(int /*profile*/) {}
    virtual void closePanel() {}
    // Restore defaults with the panel open.
    virtual void restoreDefaults() {}
};

}  // namespace quillmar::shell
