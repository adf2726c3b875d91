#pragma once

#include "profiles/UserFolder.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmar::profiles {

// A colour value: red in bits 0-7, green in 8-15, blue in 16-23.
using ColourValue = std::uint32_t;

struct KeyColour {
    ColourValue colour = 0;
    bool followsBaseColour = false;  // the base-colour flag
    bool operator==(const KeyColour&) const = default;
};

struct SchemeSettings {
    int tool = 0;  // painting tool as stored: 0 brush, 1 eraser
    ColourValue baseColour = 0;
    ColourValue paintColour = 0;
    bool operator==(const SchemeSettings&) const = default;
};

inline constexpr int kSchemeCount = 10;

// The colour scheme files "UserDengColor_<n>.userd" of the per-user folder,
// n = 0 to 3: per scheme s (0 to 9) a section "Mode<s>" with each lighting
// position's colour and base-colour flag, the tools, and the schemes' names.
// Every call reads or writes the file; a missing file, section or key reads
// as its default. A file number outside 0 to 3 reads as defaults and is
// never written.
class UserColourFiles {
public:
    explicit UserColourFiles(UserFolder folder);

    // The current scheme; 0 also when the file names one outside 0 to 9.
    int readPresentScheme(int n) const;
    bool writePresentScheme(int n, int scheme) const;

    // The scheme's display name; "0" when missing.
    std::u16string readSchemeName(int n, int scheme) const;
    bool writeSchemeName(int n, int scheme, std::u16string_view name) const;

    // Red with the base-colour flag when missing. Components outside 0 to 255
    // are held to that range; any non-zero flag counts as set.
    KeyColour readKeyColour(int n, int scheme, int position) const;
    bool writeKeyColour(int n, int scheme, int position, KeyColour colour) const;

    // Tool 0 and black colours when missing.
    SchemeSettings readSchemeSettings(int n, int scheme) const;
    bool writeSchemeSettings(int n, int scheme, const SchemeSettings& settings) const;

private:
    UserFolder folder_;
};

}  // namespace quillmar::profiles
