#include "platform/IniUserSettings.h"

#include "text/IniFile.h"

namespace quillmar::platform {

IniUserSettings::IniUserSettings(std::filesystem::path file) : file_(std::move(file)) {}

IniUserSettings::IniUserSettings(const Paths& paths)
    : IniUserSettings(paths.configFolder() / kUserSettingsFileName) {}

std::string IniUserSettings::readString(std::string_view section, std::string_view name,
                                        std::string_view defaultValue) const {
    return text::readIniString(file_, section, name, defaultValue);
}

bool IniUserSettings::writeString(std::string_view section, std::string_view name,
                                  std::string_view value) {
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    return text::writeIniString(file_, section, name, value);
}

}  // namespace quillmar::platform
