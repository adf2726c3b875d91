#include "platform/LockFileMutex.h"

#include "platform/ChildProcess.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quillmar::platform {
namespace {

using testing::ChildProcess;
using testing::TempFolder;

// 1 when the mutex exists for a fresh process, 0 when it could take it.
int existsInAnotherProcess(const std::filesystem::path& folder) {
    ChildProcess child([&] { return LockFileMutex(folder).open() ? 1 : 0; });
    return child.wait();
}

TEST(LockFileMutex, HeldUntilClosedAcrossProcesses) {
    TempFolder folder;
    LockFileMutex mutex(folder.path());
    EXPECT_FALSE(mutex.open());
    EXPECT_TRUE(mutex.create());
    EXPECT_TRUE(std::filesystem::exists(folder / "Quillmar_Mutex_09A"));

    EXPECT_EQ(existsInAnotherProcess(folder.path()), 1);
    mutex.close();
    EXPECT_EQ(existsInAnotherProcess(folder.path()), 0);
}

TEST(LockFileMutex, AnOpenerDoesNotHoldIt) {
    TempFolder folder;
    LockFileMutex holder(folder.path());
    ASSERT_TRUE(holder.create());
    LockFileMutex opener(folder.path());
    EXPECT_TRUE(opener.open());
    EXPECT_FALSE(opener.create());
    EXPECT_FALSE(opener.isHeld());
}

TEST(LockFileMutex, AFileLeftBehindDoesNotCount) {
    TempFolder folder;
    testing::writeBytes(folder / "Quillmar_Mutex_09A", "left by a crashed run");
    LockFileMutex mutex(folder.path());
    EXPECT_FALSE(mutex.open());
    EXPECT_TRUE(mutex.create());
    EXPECT_TRUE(mutex.isHeld());
}

TEST(LockFileMutex, MakesAMissingRuntimeFolderPrivate) {
    TempFolder folder;
    const std::filesystem::path runtime = folder / "run";
    LockFileMutex mutex(runtime);
    EXPECT_TRUE(mutex.create());
    struct stat status {};
    ASSERT_EQ(::stat(runtime.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

TEST(LockFileMutex, RefusesAFolderOthersMayWrite) {
    TempFolder folder;
    const std::filesystem::path shared = folder / "shared";
    std::filesystem::create_directory(shared);
    std::filesystem::permissions(shared, std::filesystem::perms::all);
    LockFileMutex mutex(shared);
    EXPECT_FALSE(mutex.open());
    EXPECT_FALSE(mutex.create());
    EXPECT_FALSE(std::filesystem::exists(shared / "Quillmar_Mutex_09A"));
}

}  // namespace
}  // namespace quillmar::platform
