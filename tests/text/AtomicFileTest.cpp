#include "text/AtomicFile.h"

#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quillmar::text {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

mode_t permissions(const std::filesystem::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(AtomicFile, ReplacesContentAndKeepsPermissions) {
    TempFolder folder;
    const auto file = folder / "scheme.userd";
    writeBytes(file, "old content that is longer");
    ::chmod(file.c_str(), 0640);

    ASSERT_TRUE(writeFileAtomically(file, "new"));
    EXPECT_EQ(readBytes(file), "new");
    EXPECT_EQ(permissions(file), 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(AtomicFile, FailsWithoutTouchingAnythingWhenTheFolderIsMissing) {
    TempFolder folder;
    EXPECT_FALSE(writeFileAtomically(folder / "missing" / "file", "x"));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

}  // namespace
}  // namespace quillmar::text
