#pragma once

#include "platform/Paths.h"

#include <functional>
#include <optional>
#include <string>

namespace quillmar::platform {

// The folders of a Linux desktop session, after the XDG base and user
// directory conventions:
// - documents: $XDG_DOCUMENTS_DIR, else the XDG_DOCUMENTS_DIR entry of
//   user-dirs.dirs in the config folder, else ~/Documents;
// - config: $XDG_CONFIG_HOME, else ~/.config;
// - runtime: $XDG_RUNTIME_DIR, else the user's own folder /tmp/quillmar-<uid>
//   (made by whoever puts a file there, see PrivateFolder.h).
// Variables holding a relative path are ignored, as the conventions ask.
// The full path of the running executable.
std::filesystem::path runningExecutable();

class LinuxPaths final : public Paths {
public:
    using Environment = std::function<std::optional<std::string>(const char* name)>;

    LinuxPaths();  // the process environment
    explicit LinuxPaths(Environment environment);

    std::filesystem::path programDirectory() const override;
    std::filesystem::path documentsFolder() const override;
    std::filesystem::path configFolder() const override;
    std::filesystem::path runtimeFolder() const override;

private:
    std::optional<std::filesystem::path> absoluteVariable(const char* name) const;
    std::filesystem::path homeFolder() const;
    std::optional<std::filesystem::path> documentsFromUserDirs() const;

    Environment environment_;
};

}  // namespace quillmar::platform
