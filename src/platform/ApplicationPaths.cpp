#include "platform/ApplicationPaths.h"

namespace quillmar::platform {

ApplicationPaths ApplicationPaths::fromExecutable(const std::filesystem::path& executable) {
    ApplicationPaths paths;
    paths.executableName = executable.filename().string();
    paths.programDirectory = executable.parent_path();
    paths.helpDirectory = paths.programDirectory / "Help";
    paths.skinDirectory = paths.programDirectory / "Skins";
    paths.mainSkinFile = paths.skinDirectory / "Main.ini";
    paths.languageFile = paths.skinDirectory / "language.ini";
    paths.profileSkinFile = paths.skinDirectory / "Profile.ini";
    paths.compositeSkinFile = paths.skinDirectory / "Composite.ini";
    paths.colourFileStem = paths.skinDirectory / "UserDengColor_";
    paths.companionDaemon = paths.programDirectory / "Varnhold";
    return paths;
}

}  // namespace quillmar::platform
