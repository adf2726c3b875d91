// The import and export dialogs open where the profile files are, with no
// name typed in and the configuration files' filter first.
#include "shell/window/FileChooser.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quillmar::shell {
namespace {

TEST(FileDialogSetup, OpensInTheUserFolderWithTheProfileFilterThenAllFiles) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const FileDialogSetup setup = fileDialogSetup(folder, text::BuiltInTexts{});
    EXPECT_EQ(setup.folder.toStdString(), folder.string());
    EXPECT_EQ(setup.filter.toStdString(), "Profile files (*.kbp);;All files (*)");

    // A per-user folder not made yet leaves the choice to the platform.
    EXPECT_TRUE(fileDialogSetup(folder / "no-such-folder-of-quillmar", text::BuiltInTexts{}).folder.isEmpty());
}

}  // namespace
}  // namespace quillmar::shell
