#pragma once

#include "device/DeviceCommands.h"
#include "lighting/LightingPreview.h"
#include "profiles/KtvlSettings.h"
#include "profiles/UserColourFiles.h"
#include "profiles/UserFolder.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmar::lighting {

inline constexpr int kLightingPositions = 126;
inline constexpr int kKeyColourChunks = 8;
inline constexpr int kPositionsPerChunk = 18;  // 54 bytes a command

enum class PaintTool { Brush = 0, Eraser = 1 };

// The per-key colours of effect 20: the colours last sent to the keyboard
// per profile and lighting position with each key's base-colour flag, and
// the current scheme of the profile shown, kept in the profile's colour
// scheme file. Each operation that reaches the keyboard is one function here
// (one update bracket). Used from one thread at a time.
class KeyColours {
public:
    KeyColours(device::DeviceCommands& commands, profiles::UserFolder folder, std::filesystem::path templateFile);

    // Copies the template to the four colour files once per user ("usermodeCheck").
    // False when the template cannot be read or a copy cannot be written; the
    // next call tries again.
    bool PrepareUserColourFiles();

    // Loads the profile's current scheme (names, tools, every key's colour
    // and flag) from its file, then sends every colour to the keyboard.
    int ApplyColourScheme(int profile);
    // The same without sending anything.
    void loadColourScheme(int profile);
    // Eight WriteKeyColours of 18 positions in one bracket; the last chunk
    // carries zeros for positions 126 to 143.
    int UploadKeyColours(int profile);

    // The brush or the eraser on one key: its colour goes to the keyboard, to
    // the table and to the scheme file. Nothing for a button without a light.
    std::optional<ButtonLook> PaintKey(int profile, int buttonId);
    // One key given a colour and flag, as the brush or the eraser does.
    std::optional<ButtonLook> SetKeyColour(int profile, int buttonId, profiles::KeyColour colour);
    // Every key following the base colour takes the new colour; one upload,
    // one file write. Nothing when the colour is the current one.
    std::vector<ButtonLook> ChangeBaseColour(int profile, ColourValue colour);
    bool ChoosePaintColour(int profile, ColourValue colour);
    bool ChooseTool(int profile, PaintTool tool);
    // Makes the scheme (0 to 9) current and applies it.
    int SelectScheme(int profile, int scheme);
    bool RenameScheme(int profile, const std::u16string& name);
    // The profile's file back to the untouched copy of the template, then applied.
    int RestoreUserColours(int profile);
    // Puts a key's colour back in a scheme of the profile's file, and on the
    // keyboard when that scheme is the profile's current one.
    void RestoreKeyColour(int profile, int scheme, int position, profiles::KeyColour colour);
    // Replaces the profile's colour file by the content; when the profile is
    // the one shown, its current scheme is loaded and sent to the keyboard.
    bool RestoreColourFile(int profile, std::string_view content, bool shown);
    // The ten scheme names of the profile's file.
    void loadSchemeNames(int profile);

    // Every key button's colour for the profile: layout keys and Fn from
    // their positions, the G-keys from the shared one.
    std::vector<ButtonLook> keyLooks(int profile) const;

    int scheme() const { return scheme_; }
    const profiles::SchemeSettings& settings() const { return settings_; }
    PaintTool tool() const { return settings_.tool == 1 ? PaintTool::Eraser : PaintTool::Brush; }
    const std::array<std::u16string, profiles::kSchemeCount>& schemeNames() const { return names_; }
    profiles::KeyColour keyColour(int profile, int position) const;

private:
    using ProfileColours = std::array<profiles::KeyColour, kLightingPositions>;

    std::filesystem::path fileOf(int profile) const { return folder_.colourFile(profile); }
    bool saveSchemeSettings(int profile);
    void setKey(int profile, int position, profiles::KeyColour colour);

    device::DeviceCommands& commands_;
    profiles::UserFolder folder_;
    std::filesystem::path templateFile_;
    std::array<ProfileColours, device::kProfileCount> colours_{};
    int scheme_ = 0;
    profiles::SchemeSettings settings_;
    std::array<std::u16string, profiles::kSchemeCount> names_;
};

}  // namespace quillmar::lighting
