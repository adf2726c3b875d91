#include "profiles/UserFolder.h"

#include <string>

namespace quillmar::profiles {

UserFolder::UserFolder(const platform::Paths& paths)
    : UserFolder(paths.documentsFolder() / kUserFolderName) {}

UserFolder::UserFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path UserFolder::colourFile(int n) const {
    return folder_ / ("UserDengColor_" + std::to_string(n) + ".userd");
}

std::filesystem::path UserFolder::settingsFile() const { return folder_ / "ktvl.ini"; }

std::filesystem::path UserFolder::profileFile() const { return folder_ / "$Profile0"; }

bool UserFolder::ensureUserFolder(const std::function<void()>& prepareColourFiles) const {
    std::error_code error;
    if (std::filesystem::is_directory(folder_, error)) return true;
    // The documents folder itself may be missing on a fresh desktop account.
    if (!std::filesystem::create_directories(folder_, error) || error) return false;
    if (prepareColourFiles) prepareColourFiles();
    return true;
}

}  // namespace quillmar::profiles
