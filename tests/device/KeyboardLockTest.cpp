#include "device/KeyboardLock.h"

#include "platform/ChildProcess.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace quillmar::device {
namespace {

using testing::ChildProcess;
using testing::TempFolder;

// The runtime folder of this test alone.
class KeyboardLockTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", folder_.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_RUNTIME_DIR"); }

    // 1 when another process finds the keyboard taken, 0 when it is free.
    static int takenForAnotherProcess() {
        ChildProcess child([] {
            const int fd = ::open(keyboardLockFile().c_str(), O_RDWR | O_CREAT, 0600);
            return fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 ? 1 : 0;
        });
        return child.wait();
    }

    TempFolder folder_;
};

TEST_F(KeyboardLockTest, OtherProgramsWaitUntilTheLastNestedGuardGoes) {
    EXPECT_EQ(keyboardLockFile(), folder_ / kKeyboardLockName);
    {
        KeyboardLock outer;
        EXPECT_TRUE(outer.sharedWithOtherPrograms());
        {
            KeyboardLock inner;  // a read-back inside an import
            EXPECT_EQ(takenForAnotherProcess(), 1);
        }
        EXPECT_EQ(takenForAnotherProcess(), 1);
    }
    EXPECT_EQ(takenForAnotherProcess(), 0);
}

TEST_F(KeyboardLockTest, AnotherThreadWaitsForTheOperationToEnd) {
    std::atomic<bool> operationOver{false};
    std::atomic<bool> secondSawItOver{false};
    std::thread second;
    {
        KeyboardLock first;
        second = std::thread([&] {
            KeyboardLock mine;
            secondSawItOver = operationOver.load();
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        operationOver = true;
    }
    second.join();
    EXPECT_TRUE(secondSawItOver);
}

TEST_F(KeyboardLockTest, GoesAheadWithinTheProcessWhenNoFolderCanBeMade) {
    ::setenv("XDG_RUNTIME_DIR", (folder_ / "file").c_str(), 1);
    testing::writeBytes(folder_ / "file", "not a folder");
    KeyboardLock lock;
    EXPECT_FALSE(lock.sharedWithOtherPrograms());
}

}  // namespace
}  // namespace quillmar::device
