#pragma once

#include <filesystem>

namespace quillmar::profiles {

// The per-user settings file ktvl.ini, section "KEYCOLOR": whether the colour
// scheme files have been made from the template ("usermodeCheck") and whether
// the lighting panel is open ("DengCheck"). Each is "1" or "0", "0" when
// missing; anything other than the number 1 reads as no.
class KtvlSettings {
public:
    explicit KtvlSettings(std::filesystem::path file);

    bool colourFilesPrepared() const;
    bool markColourFilesPrepared() const;

    bool lightingPanelOpen() const;
    bool setLightingPanelOpen(bool open) const;

private:
    std::filesystem::path file_;
};

}  // namespace quillmar::profiles
