// Backups of the keyboard's configuration against the simulated keyboard:
// made before an import, listed, pruned, refused when damaged, and put back.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "config/ImageFixtures.h"
#include "config/LittleEndian.h"
#include "config/MacroArea.h"
#include "device/DeviceLink.h"
#include "device/RecordingWindow.h"
#include "hidlane/SimTestSupport.h"
#include "hidlane/sim/SimKeyboard.h"
#include "keyboard/LayoutKeyList.h"
#include "lighting/EffectTable.h"
#include "profiles/Backups.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFixtures.h"
#include "profiles/ProfileFileTransfer.h"
#include "profiles/UserColourFiles.h"
#include "support/LinkedSimService.h"
#include "text/Utf.h"

namespace quillmar::profiles {
namespace {

using namespace std::chrono_literals;
using config::testing::Bytes;
using config::testing::macroOf;
using config::testing::press;
using config::testing::release;
using sim::SimArea;

constexpr std::size_t kKeyBlocksBytes = 3 * 378;
constexpr std::size_t kSettingsBytes = 3 * 42;
constexpr int kPositionOfA = 19;
const int kLitPosition = keyboard::kLayoutKeyList[0].lightingPosition;

// One fixed second, as a clock that never moves.
std::chrono::system_clock::time_point fixedTime() {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 10;
    local.tm_hour = 17;
    local.tm_min = 5;
    local.tm_sec = 12;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

class BackupsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QUILLMAR_SIM_STATE", (folder_ / "sim-keyboard.bin").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (folder_ / "runtime").c_str(), 1);
        for (const char* name : {"QUILLMAR_SIM_TRACE", "QUILLMAR_SIM_CONTROL", "QUILLMAR_SIM_UNPLUGGED"})
            ::unsetenv(name);
        std::filesystem::create_directories(user_.path());
        ASSERT_GT(Init(0), 0);
        link_ = std::make_unique<device::DeviceLink>(service_, window_, prompt_, texts_,
                                                     device::LinkTiming{200ms, 1ms, 20ms, 1ms, 1ms, 1ms});
        link_->start();
        link_->waitForWorkers();
        ASSERT_EQ(link_->presence().connectedCount(), 1);
    }

    void TearDown() override {
        link_->waitForWorkers();
        End();
        link_.reset();
        ::unsetenv("QUILLMAR_SIM_STATE");
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    sim::SimKeyboard& keyboard() { return sim::sharedSimKeyboard(); }
    KeyboardReadSource source() { return readSourceOf(*link_, texts_); }
    config::DownloadTarget target() { return config::downloadTargetOf(*link_, prompt_, texts_); }

    // A keyboard with keys, macros, lighting and colour schemes of its own.
    void giveTheKeyboardAConfiguration() {
        ASSERT_TRUE(keyboard().writeMemory(SimArea::KeyBlocks, 0 * 378 + kPositionOfA * 3, Bytes{0x02, 0x02, 0x05}));
        ASSERT_TRUE(keyboard().writeMemory(SimArea::KeyBlocks, 2 * 378 + kPositionOfA * 3, Bytes{0x05, 0x01, 0x01}));
        const config::MacroList macros = {macroOf(u"first", 1, 3, {press(0x1E, 120), release(0x1E, 30)}),
                                          macroOf(u"second", 2, 1, {press(0x2A, 10), release(0x2A, 10)})};
        ASSERT_TRUE(keyboard().writeMemory(SimArea::MacroArea, 0, config::buildMacroArea(macros, true)));
        Bytes settings = keyboard().readMemory(SimArea::Settings, 0, kSettingsBytes);
        for (std::size_t i = 0; i < settings.size(); ++i) settings[i] = static_cast<std::uint8_t>(i * 7);
        settings[0] = lighting::kPerKeyColourEffect;  // profile 1, the active one, shows per-key colours
        ASSERT_TRUE(keyboard().writeMemory(SimArea::Settings, 0, settings));
        const UserColourFiles files(user_);
        ASSERT_TRUE(files.writeKeyColour(0, 0, kLitPosition, {0x00FF00, false}));
        ASSERT_TRUE(files.writeSchemeName(1, 0, u"Evening"));
    }

    Bytes keyboardConfiguration() {
        Bytes all = keyboard().readMemory(SimArea::KeyBlocks, 0, kKeyBlocksBytes);
        const Bytes area = keyboard().readMemory(SimArea::MacroArea);
        const std::size_t used = config::loadU16(area, config::macro_area::kTotalSize);
        all.insert(all.end(), area.begin(), area.begin() + static_cast<std::ptrdiff_t>(used));
        const Bytes settings = keyboard().readMemory(SimArea::Settings, 0, kSettingsBytes);
        all.insert(all.end(), settings.begin(), settings.end());
        return all;
    }

    std::vector<Bytes> colourFiles() {
        std::vector<Bytes> files;
        for (int n = 0; n < kColourFileCount; ++n) files.push_back(testing::readBytes(user_.colourFile(n)));
        return files;
    }

    // What the import command does with a file: the keyboard takes all three profiles.
    void importFile(const std::filesystem::path& file) {
        config::Configuration configuration;
        auto held = configuration.working.lock();
        ASSERT_EQ(importConfigurationFile(configuration.working, file, user_.profileFile(), prompt_, texts_).status,
                  ImportStatus::Imported);
        ASSERT_EQ(config::takeDownloadSnapshot(configuration, config::DownloadScope::AllProfiles, target()), 1);
    }

    // The whole restore as the tool and the window run it.
    bool restore(const BackupEntry& entry) {
        const auto content = loadBackupForRestore(entry, prompt_, texts_);
        if (!content) return false;
        config::Configuration configuration;
        lighting::KeyColours colours(link_->commands(), user_, folder_ / "no-template");
        return installBackupConfiguration(configuration.working, *content, user_.profileFile()) &&
               restoreColourFiles(*content, user_) &&
               restoreToKeyboard(configuration, content->lighting, target(), colours);
    }

    testing::TempFolder folder_;
    UserFolder user_{folder_ / "Gaming Keyboard"};
    const device::HidService service_ = quillmar::testing::linkedSimService();
    device::testing::RecordingWindow window_;
    testing::RecordingPrompt prompt_;
    text::BuiltInTexts texts_;
    std::unique_ptr<device::DeviceLink> link_;
};

TEST_F(BackupsTest, ABackupMadeBeforeAnImportIsRestoredByteForByte) {
    giveTheKeyboardAConfiguration();
    const Bytes before = keyboardConfiguration();
    const std::vector<Bytes> coloursBefore = colourFiles();

    const Backups backups(user_, fixedTime);
    const auto name = backups.make(source(), backup_operation::kImport);
    ASSERT_EQ(name, "20261210-170512");
    const auto listed = backups.list();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].time, "2026-12-10 17:05:12");
    EXPECT_EQ(listed[0].operation, "import");
    EXPECT_EQ(backupDescription(listed[0], texts_), u"2026-12-10 17:05:12  before an import");

    // The import and what came after it change everything the backup holds.
    ASSERT_EQ(writeDefaultFile(folder_ / "defaults.kbp"), 1);
    importFile(folder_ / "defaults.kbp");
    ASSERT_TRUE(keyboard().writeMemory(SimArea::Settings, 0, Bytes(kSettingsBytes, 0x01)));
    ASSERT_TRUE(keyboard().writeMemory(SimArea::KeyColours, 0, Bytes(512, 0x33)));
    ASSERT_TRUE(UserColourFiles(user_).writeKeyColour(0, 0, kLitPosition, {0x0000FF, false}));
    std::filesystem::remove(user_.colourFile(1));
    ASSERT_NE(keyboardConfiguration(), before);

    ASSERT_TRUE(restore(listed[0]));
    EXPECT_EQ(keyboardConfiguration(), before) << "key blocks, macro area and the three lighting records";
    EXPECT_EQ(colourFiles(), coloursBefore);
    const Bytes keyColours = keyboard().readMemory(SimArea::KeyColours, 0, 126 * 3);
    const auto colourAt = [&](int position) {
        return Bytes(keyColours.begin() + position * 3, keyColours.begin() + position * 3 + 3);
    };
    EXPECT_EQ(colourAt(kLitPosition), (Bytes{0x00, 0xFF, 0x00}))
        << "the active profile shows per-key colours, so the restored scheme is sent";
    EXPECT_EQ(colourAt(keyboard::kLayoutKeyList[1].lightingPosition), (Bytes{0xFF, 0x00, 0x00}));
    EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(BackupsTest, NamesStayUniqueWithinASecondAndOnlyTheNewestTwentyAreKept) {
    const Backups backups(user_, fixedTime);
    std::filesystem::create_directories(backups.path() / ".20261210-170500.building");  // a backup that died
    std::filesystem::create_directories(backups.path() / "20261210-170400");              // no description
    testing::writeBytes(backups.path() / "notes.txt", {1, 2});
    std::vector<std::string> made;
    for (int i = 0; i < 22; ++i) {
        const auto name = backups.make(source(), backup_operation::kOnRequest);
        ASSERT_TRUE(name);
        made.push_back(*name);
    }
    EXPECT_EQ(made[0], "20261210-170512");
    EXPECT_EQ(made[1], "20261210-170512-2");
    EXPECT_EQ(made[21], "20261210-170512-22");

    const auto listed = backups.list();
    ASSERT_EQ(listed.size(), kBackupsKept);
    EXPECT_EQ(listed.front().name, "20261210-170512-22") << "newest first, -10 after -9";
    EXPECT_EQ(listed[12].name, "20261210-170512-10");
    EXPECT_EQ(listed[13].name, "20261210-170512-9");
    EXPECT_EQ(listed.back().name, "20261210-170512-3");
    EXPECT_FALSE(std::filesystem::exists(backups.path() / "20261210-170512"));
    EXPECT_FALSE(std::filesystem::exists(backups.path() / ".20261210-170500.building"));
    EXPECT_TRUE(std::filesystem::exists(backups.path() / "20261210-170400")) << "not ours to judge; left alone";
    EXPECT_TRUE(backups.find("20261210-170512-9"));
    EXPECT_FALSE(backups.find("20261210-170512"));
    EXPECT_FALSE(backups.find("20261210-170400"));
}

TEST_F(BackupsTest, ADamagedEntryIsRefusedAndTheKeyboardLeftAlone) {
    const Backups backups(user_, fixedTime);
    const struct {
        const char* damage;
        std::function<void(const std::filesystem::path&)> apply;
    } cases[] = {
        {"profile file checksum", [](const std::filesystem::path& entry) {
             Bytes bytes = testing::readBytes(entry / "profile.kbp");
             bytes[31] ^= 1;
             testing::writeBytes(entry / "profile.kbp", bytes);
         }},
        {"profile file missing", [](const std::filesystem::path& entry) { std::filesystem::remove(entry / "profile.kbp"); }},
        {"lighting records cut short", [](const std::filesystem::path& entry) {
             Bytes bytes = testing::readBytes(entry / "lighting.bin");
             bytes.pop_back();
             testing::writeBytes(entry / "lighting.bin", bytes);
         }},
    };
    for (const auto& damaged : cases) {
        SCOPED_TRACE(damaged.damage);
        const auto name = backups.make(source(), backup_operation::kOnRequest);
        ASSERT_TRUE(name);
        const auto entry = backups.find(*name);
        ASSERT_TRUE(entry);
        damaged.apply(entry->folder);
        const Bytes before = keyboardConfiguration();
        keyboard().clearTrace();
        prompt_.messages.clear();

        EXPECT_FALSE(loadBackupForRestore(*entry, prompt_, texts_));
        ASSERT_FALSE(prompt_.messages.empty());
        EXPECT_EQ(prompt_.messages.back(), u"The backup is damaged and was not restored: " + text::toUtf16(*name));
        EXPECT_TRUE(keyboard().traceLines().empty());
        EXPECT_EQ(keyboardConfiguration(), before);
    }
}

TEST_F(BackupsTest, NoEntryIsLeftWhenTheBackupCannotBeMade) {
    const Backups backups(user_, fixedTime);
    // A file where the folder belongs: the folder cannot be made.
    testing::writeBytes(backups.path(), {1});
    EXPECT_FALSE(backups.make(source(), backup_operation::kImport));
    std::filesystem::remove(backups.path());

    keyboard().unplug();
    link_->waitForWorkers();
    link_->commands().forgetActiveProfile();
    EXPECT_FALSE(backups.make(source(), backup_operation::kImport));
    EXPECT_TRUE(backups.list().empty());
    EXPECT_FALSE(std::filesystem::exists(backups.path()) && !std::filesystem::is_empty(backups.path()));
}

}  // namespace
}  // namespace quillmar::profiles
