// A save killed at any moment (SIGKILL, from outside) leaves the old file or
// the new one, whole, and the next start's sweep leaves no temporary behind.
//
// A child process saves one file over and over through the program's own save
// function, alternating two contents; the parent kills it after a random
// delay and looks at what is on disk. QUILLMAR_KILL_CAMPAIGN=<kills per kind>
// runs a longer campaign than the default.
#include "config/ConfigStore.h"
#include "platform/IniUserSettings.h"
#include "platform/TempFolder.h"
#include "profiles/KtvlSettings.h"
#include "profiles/ProfileFile.h"
#include "profiles/StaleTemporaries.h"
#include "profiles/UserColourFiles.h"
#include "profiles/UserFolder.h"
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
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <thread>

namespace quillmar::profiles {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempFolder;

constexpr int kDefaultKills = 50;

using platform::Paths;

// One kind of file: where it lives, how the program saves it (variant 0 or 1,
// two different contents), and what is there first.
struct FileKind {
    const char* name;
    std::function<fs::path(const Paths&)> file;
    std::function<bool(const Paths&, int variant)> save;
    std::function<void(const Paths&)> prepare = [](const Paths&) {};
};

void PrintTo(const FileKind& kind, std::ostream* out) { *out << kind.name; }

bool saveProfile(const Paths& paths, int variant) {
    config::ConfigStore store;
    installDefaultConfiguration(store);
    if (variant == 1) {
        store.records()[30] = {keyboard::AssignmentType::TextBlock, 0, 0, 0, 0};
        store.texts().setText(30, u"the new content of the profile file");
    }
    return writeConfigurationFile(store, UserFolder(paths).profileFile()) == 1;
}

// A scheme file as big as a used one: ten schemes of 126 keys.
void prepareColourFile(const Paths& paths) {
    std::string content = "[PRESENTMODE]\nmode=0\n[MODENAME]\n";
    for (int scheme = 0; scheme < kSchemeCount; ++scheme) {
        content += "[Mode" + std::to_string(scheme) + "]\ntool=0\njcolor=255,0,0\ncolor=0,0,255\n";
        for (int position = 0; position < 126; ++position) content += std::to_string(position) + "=255,0,0,1\n";
    }
    ASSERT_TRUE(text::writeFileAtomically(UserFolder(paths).colourFile(0), content));
}

bool saveColourScheme(const Paths& paths, int variant) {
    const KeyColour colour{variant == 0 ? 0x0000FFu : 0x00FF00u, variant == 0};
    return UserColourFiles(UserFolder(paths)).writeKeyColour(0, 9, 125, colour);
}

bool saveKtvl(const Paths& paths, int variant) {
    return KtvlSettings(UserFolder(paths).settingsFile()).setLightingPanelOpen(variant == 1);
}

bool saveUserSettings(const Paths& paths, int variant) {
    platform::IniUserSettings settings(paths);
    return settings.writeString("Settings", "Language", variant == 0 ? "English" : "Chinese (Simplified)");
}

const FileKind kFileKinds[] = {
    {"ProfileFile", [](const Paths& p) { return UserFolder(p).profileFile(); }, saveProfile},
    {"ColourScheme", [](const Paths& p) { return UserFolder(p).colourFile(0); }, saveColourScheme, prepareColourFile},
    {"Ktvl", [](const Paths& p) { return UserFolder(p).settingsFile(); }, saveKtvl},
    {"UserSettings", [](const Paths& p) { return platform::IniUserSettings(p).file(); }, saveUserSettings},
    // A backup joins here: its folder under "Backups" and a save that builds it.
};

int killsPerKind() {
    const char* wanted = std::getenv("QUILLMAR_KILL_CAMPAIGN");
    const int kills = wanted ? std::atoi(wanted) : 0;
    return kills > 0 ? kills : kDefaultKills;
}

// Counters the child keeps where the parent can read them after the kill.
struct SaveCounters {
    std::atomic<unsigned> started{0};
    std::atomic<unsigned> finished{0};
};

class SharedCounters {
public:
    SharedCounters() {
        void* memory = ::mmap(nullptr, sizeof(SaveCounters), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (memory != MAP_FAILED) counters_ = new (memory) SaveCounters;
    }
    ~SharedCounters() {
        if (counters_) ::munmap(counters_, sizeof(SaveCounters));
    }
    SaveCounters* get() const { return counters_; }

private:
    SaveCounters* counters_ = nullptr;
};

std::size_t temporariesIn(const fs::path& folder) {
    std::size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        count += text::parseAtomicTemporaryName(entry.path().filename().string()) ? 1 : 0;
    return count;
}

struct CampaignCounts {
    unsigned savesTried = 0;
    int interrupted = 0;  // kills that landed inside a save
    int whole = 0;        // files found exactly old or exactly new
    std::size_t temporariesFound = 0;  // left by the killed save, before the sweep
    std::size_t temporariesLeftAfterSweep = 0;
};

class SaveInterruptionTest : public ::testing::TestWithParam<FileKind> {
protected:
    // Saves alternately until killed; never returns.
    [[noreturn]] static void saveForever(const FileKind& kind, const Paths& paths, SaveCounters& counters) {
        for (int variant = 1;; variant = 1 - variant) {
            counters.started.fetch_add(1);
            if (!kind.save(paths, variant)) ::_exit(2);
            counters.finished.fetch_add(1);
        }
    }
};

TEST_P(SaveInterruptionTest, OldOrNewFileWholeAndNoTemporaryAfterTheSweep) {
    const FileKind& kind = GetParam();
    TempFolder root;
    platform::FakePaths paths;
    paths.documents = root / "Documents";
    paths.config = root / "config";
    ASSERT_TRUE(UserFolder(paths).ensureUserFolder({}));
    kind.prepare(paths);
    const fs::path file = kind.file(paths);
    ASSERT_TRUE(kind.save(paths, 1));
    const std::string newContent = readBytes(file);
    ASSERT_TRUE(kind.save(paths, 0));
    const std::string oldContent = readBytes(file);
    ASSERT_NE(oldContent, newContent);

    // Delays up to a few saves long, so kills land before, inside and between saves.
    const auto timing = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(kind.save(paths, i % 2));
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - timing) / 4;
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long> delay(0, 3 * saveTime.count() + 1000);

    SharedCounters shared;
    ASSERT_NE(shared.get(), nullptr);
    CampaignCounts counts;
    const int kills = killsPerKind();
    for (int kill = 0; kill < kills; ++kill) {
        SaveCounters& counters = *shared.get();
        counters.started = 0;
        counters.finished = 0;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) saveForever(kind, paths, counters);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child's save failed";

        counts.savesTried += counters.started.load();
        counts.interrupted += counters.started.load() != counters.finished.load() ? 1 : 0;
        const std::string content = readBytes(file);
        const bool whole = content == oldContent || content == newContent;
        counts.whole += whole ? 1 : 0;
        EXPECT_TRUE(whole) << "kill " << kill << ": " << content.size() << " bytes, neither old nor new";

        counts.temporariesFound += temporariesIn(root.path());
        removeStaleSaveTemporaries(paths);
        const std::size_t left = temporariesIn(root.path());
        counts.temporariesLeftAfterSweep += left;
        EXPECT_EQ(left, 0u) << "kill " << kill;
    }
    std::cout << kind.name << ": " << kills << " kills, " << counts.savesTried << " saves tried, "
              << counts.interrupted << " interrupted mid-save, " << counts.whole << " files whole, " << counts.temporariesFound << " temporaries found, "
              << counts.temporariesLeftAfterSweep << " temporaries left after the sweep\n";
}

INSTANTIATE_TEST_SUITE_P(FileKinds, SaveInterruptionTest, ::testing::ValuesIn(kFileKinds),
                         [](const ::testing::TestParamInfo<FileKind>& info) { return info.param.name; });

}  // namespace
}  // namespace quillmar::profiles
