#include "platform/LinuxPaths.h"

#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <map>

namespace quillmar::platform {
namespace {

using testing::TempFolder;
using testing::writeBytes;

LinuxPaths withEnvironment(std::map<std::string, std::string> variables) {
    return LinuxPaths([variables](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        if (found == variables.end()) return std::nullopt;
        return found->second;
    });
}

TEST(LinuxPaths, ProgramDirectoryIsTheExecutablesFolder) {
    // Tests run from the folder their executable is in.
    EXPECT_EQ(LinuxPaths().programDirectory(), std::filesystem::current_path());
}

TEST(LinuxPaths, FallsBackToHomeFoldersAndTmp) {
    const LinuxPaths paths = withEnvironment({{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "rel"}});
    EXPECT_EQ(paths.documentsFolder(), "/home/ann/Documents");
    EXPECT_EQ(paths.configFolder(), "/home/ann/.config");
    EXPECT_EQ(paths.runtimeFolder(), "/tmp/quillmar-" + std::to_string(::getuid()));
}

TEST(LinuxPaths, VariablesWin) {
    const LinuxPaths paths = withEnvironment({{"HOME", "/home/ann"},
                                              {"XDG_DOCUMENTS_DIR", "/data/docs"},
                                              {"XDG_CONFIG_HOME", "/cfg"},
                                              {"XDG_RUNTIME_DIR", "/run/user/1000"}});
    EXPECT_EQ(paths.documentsFolder(), "/data/docs");
    EXPECT_EQ(paths.configFolder(), "/cfg");
    EXPECT_EQ(paths.runtimeFolder(), "/run/user/1000");
}

TEST(LinuxPaths, DocumentsFolderFromUserDirsFile) {
    TempFolder config;
    const LinuxPaths paths =
        withEnvironment({{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", config.path().string()}});

    writeBytes(config / "user-dirs.dirs",
               "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
               "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(paths.documentsFolder(), "/home/ann/Dokumente");

    writeBytes(config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/srv/papers\"\n");
    EXPECT_EQ(paths.documentsFolder(), "/srv/papers");

    writeBytes(config / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"relative\"\n");
    EXPECT_EQ(paths.documentsFolder(), "/home/ann/Documents");
}

}  // namespace
}  // namespace quillmar::platform
