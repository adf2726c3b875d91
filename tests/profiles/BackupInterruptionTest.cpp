// A backup killed at any moment (SIGKILL, from outside) is there whole or not
// at all, and the next start's sweep leaves nothing half made behind.
//
// A child process makes backups of the simulated keyboard over and over; the
// parent kills it after a random delay and looks at the backups folder.
// QUILLMAR_KILL_CAMPAIGN=<kills> runs a longer campaign than the default.
#include "device/DeviceLink.h"
#include "device/RecordingWindow.h"
#include "hidlane/sim/SimKeyboard.h"
#include "platform/TempFolder.h"
#include "profiles/Backups.h"
#include "profiles/StaleTemporaries.h"
#include "profiles/UserFolder.h"
#include "support/LinkedSimService.h"
#include "text/AtomicFile.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>

namespace quillmar::profiles {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kDefaultKills = 30;

int kills() {
    const char* wanted = std::getenv("QUILLMAR_KILL_CAMPAIGN");
    const int count = wanted ? std::atoi(wanted) : 0;
    return count > 0 ? count : kDefaultKills;
}

struct BackupCounters {
    std::atomic<bool> keyboardReady{false};
    std::atomic<unsigned> started{0};
    std::atomic<unsigned> finished{0};
};

// Makes backups until killed; never returns. The keyboard is the child's own.
[[noreturn]] void backUpForever(const platform::Paths& paths, BackupCounters& counters) {
    if (Init(0) <= 0) ::_exit(2);
    sim::sharedSimKeyboard().setLatency(0ms);
    const device::HidService service = quillmar::testing::linkedSimService();
    device::testing::RecordingWindow window;
    device::testing::RecordingPrompt prompt;
    text::BuiltInTexts texts;
    device::DeviceLink link(service, window, prompt, texts);
    link.start();
    link.waitForWorkers();
    const Backups backups{UserFolder(paths)};
    counters.keyboardReady = true;
    for (;;) {
        counters.started.fetch_add(1);
        if (!backups.make(readSourceOf(link, texts), backup_operation::kOnRequest)) ::_exit(3);
        counters.finished.fetch_add(1);
    }
}

// Every backup that is listed loads as a restore would load it.
int wholeBackups(const Backups& backups) {
    device::testing::RecordingPrompt prompt;
    const text::BuiltInTexts texts;
    int whole = 0;
    for (const BackupEntry& entry : backups.list()) {
        const bool readable = loadBackupForRestore(entry, prompt, texts).has_value();
        EXPECT_TRUE(readable) << entry.name << " is listed but not whole";
        whole += readable ? 1 : 0;
    }
    return whole;
}

std::size_t halfMadeIn(const fs::path& folder) {
    std::size_t count = 0;
    if (!fs::exists(folder)) return 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        count += name.starts_with('.') || text::parseAtomicTemporaryName(name) ? 1 : 0;
    }
    return count;
}

TEST(BackupInterruptionTest, ABackupIsWholeOrAbsentAndNothingHalfMadeOutlivesTheSweep) {
    testing::TempFolder root;
    platform::FakePaths paths;
    paths.documents = root / "Documents";
    paths.config = root / "config";
    ::setenv("QUILLMAR_SIM_STATE", (root / "sim-keyboard.bin").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    ASSERT_TRUE(UserFolder(paths).ensureUserFolder({}));
    const Backups backups{UserFolder(paths)};
    const fs::path folder = UserFolder(paths).path() / "Backups";

    auto* counters = static_cast<BackupCounters*>(
        ::mmap(nullptr, sizeof(BackupCounters), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(counters, MAP_FAILED);
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delayUs(0, 60000);
    unsigned tried = 0;
    int interrupted = 0;
    int whole = 0;
    std::size_t halfMade = 0;
    for (int kill = 0; kill < kills(); ++kill) {
        new (counters) BackupCounters;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) backUpForever(paths, *counters);
        while (!counters->keyboardReady) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child's backup failed";

        tried += counters->started;
        interrupted += counters->started != counters->finished ? 1 : 0;
        whole += wholeBackups(backups);
        halfMade += halfMadeIn(folder);
        removeStaleSaveTemporaries(paths);
        EXPECT_EQ(halfMadeIn(folder), 0u) << "kill " << kill;
    }
    ::munmap(counters, sizeof(BackupCounters));
    ::unsetenv("QUILLMAR_SIM_STATE");
    ::unsetenv("XDG_RUNTIME_DIR");
    std::cout << "Backup: " << kills() << " kills, " << tried << " backups tried, " << interrupted
              << " interrupted mid-backup, " << whole << " listed backups found whole, " << halfMade
              << " half-made folders or temporaries found, none left after the sweep\n";
}

}  // namespace
}  // namespace quillmar::profiles
