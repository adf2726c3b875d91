#pragma once

#include "lighting/KeyColours.h"
#include "lighting/LightingControl.h"
#include "profiles/UserFolder.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillmar::profiles {

// What the lighting panel's edits touch, as it is at one moment: the
// current profile's lighting record as the keyboard holds it, and the
// profile's colour scheme file with the key colours of its current scheme.
class PanelCapture {
public:
    PanelCapture(const lighting::LightingControl& lighting, const lighting::KeyColours& colours,
                 const UserFolder& folder);

    int profile = 0;
    lighting::LightingRecord record{};
    int scheme = 0;
    std::array<KeyColour, lighting::kLightingPositions> keys{};
    std::optional<std::string> file;  // none when it cannot be read
};

// What one action of the lighting panel changed: the lighting record's
// bytes, single keys' colours of one scheme (a brush or eraser click), or
// the colour file as a whole (another scheme, a name, the base colour,
// defaults). The painting tool and colour are the user's tools, not edits
// of the keyboard, and make no change of their own.
class PanelChange {
public:
    // A paint click keeps the keys it changed; any other action keeps the
    // colour file whole when it changed it (restoring defaults rewrites every
    // scheme, not only the keys shown).
    static PanelChange between(const PanelCapture& before, const PanelCapture& after, bool paintClick);

    bool empty() const { return !record_ && keys_.empty() && !file_; }
    bool changesLighting() const { return record_.has_value(); }
    int profile() const { return profile_; }

    // Writes the state before (or after) the action to the keyboard and the
    // file, for the profile the action was made in.
    void restore(lighting::LightingControl& lighting, lighting::KeyColours& colours, bool before) const;

private:
    struct KeyChange {
        int position;
        KeyColour before;
        KeyColour after;
    };

    int profile_ = 0;
    int scheme_ = 0;
    std::optional<std::pair<lighting::LightingRecord, lighting::LightingRecord>> record_;
    std::vector<KeyChange> keys_;
    std::optional<std::pair<std::string, std::string>> file_;
};

}  // namespace quillmar::profiles
