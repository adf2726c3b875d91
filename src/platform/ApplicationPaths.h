#pragma once

#include <filesystem>
#include <string>

namespace quillmar::platform {

// The files the program finds beside its executable, derived once at start.
struct ApplicationPaths {
    std::string executableName;  // the executable's file name, to find a running instance
    std::filesystem::path programDirectory;
    std::filesystem::path helpDirectory;      // Help/
    std::filesystem::path skinDirectory;      // Skins/
    std::filesystem::path mainSkinFile;       // Skins/Main.ini
    std::filesystem::path languageFile;       // Skins/language.ini
    std::filesystem::path profileSkinFile;    // Skins/Profile.ini
    std::filesystem::path compositeSkinFile;  // Skins/Composite.ini
    std::filesystem::path colourFileStem;     // Skins/UserDengColor_ (number and ".userd" follow)
    std::filesystem::path companionDaemon;    // Varnhold

    static ApplicationPaths fromExecutable(const std::filesystem::path& executable);
};

}  // namespace quillmar::platform
