#pragma once

#include "platform/Paths.h"
#include "platform/UserSettings.h"

#include <filesystem>

namespace quillmar::platform {

// The per-user settings store as a settings text file, "Quillmar_Orlenta.ini"
// in the config folder, with the same sections and values a registry key
// would hold. Read and written through on every call.
class IniUserSettings final : public UserSettings {
public:
    explicit IniUserSettings(std::filesystem::path file);
    explicit IniUserSettings(const Paths& paths);

    std::string readString(std::string_view section, std::string_view name,
                           std::string_view defaultValue) const override;
    // Creates the config folder when it is missing.
    bool writeString(std::string_view section, std::string_view name,
                     std::string_view value) override;

    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

inline constexpr std::string_view kUserSettingsFileName = "Quillmar_Orlenta.ini";

}  // namespace quillmar::platform
