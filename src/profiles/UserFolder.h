#pragma once

#include "platform/Paths.h"

#include <filesystem>
#include <functional>
#include <string_view>

namespace quillmar::profiles {

inline constexpr std::string_view kUserFolderName = "Gaming Keyboard";
inline constexpr int kColourFileCount = 4;  // profiles 0 to 2, and 3: the untouched template

// The per-user folder "Gaming Keyboard" in the documents folder, and the
// names of the files the program keeps there.
class UserFolder {
public:
    explicit UserFolder(const platform::Paths& paths);
    explicit UserFolder(std::filesystem::path folder);

    const std::filesystem::path& path() const { return folder_; }

    // "UserDengColor_<n>.userd"; n is not checked here.
    std::filesystem::path colourFile(int n) const;
    // "ktvl.ini"
    std::filesystem::path settingsFile() const;
    // "$Profile0", the binary profile file
    std::filesystem::path profileFile() const;

    // Creates the folder when it does not exist and then calls
    // prepareColourFiles; does nothing when it exists. Returns whether the
    // folder exists afterwards.
    bool ensureUserFolder(const std::function<void()>& prepareColourFiles) const;

private:
    std::filesystem::path folder_;
};

}  // namespace quillmar::profiles
