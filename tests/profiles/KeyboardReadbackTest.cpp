// Reading the configuration back from the simulated keyboard, through the
// whole device link, into the profile file and the working configuration.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "config/ImageFixtures.h"
#include "config/MacroArea.h"
#include "device/DeviceLink.h"
#include "device/RecordingWindow.h"
#include "hidlane/SimTestSupport.h"
#include "hidlane/sim/SimKeyboard.h"
#include "profiles/KeyboardReadback.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFixtures.h"
#include "profiles/ProfileFileFormat.h"
#include "support/LinkedSimService.h"

namespace quillmar::profiles {
namespace {

using namespace std::chrono_literals;
using config::testing::Bytes;
using config::testing::macroOf;
using config::testing::press;
using config::testing::release;
using keyboard::AssignmentType;
using sim::SimArea;

constexpr int kPositionOfA = 19;
constexpr int kSlotOfA = 0x1E;
constexpr int kPositionOfF1 = 16;
constexpr int kSlotOfF1 = 0x3B;

class KeyboardReadbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QUILLMAR_SIM_STATE", (folder_ / "sim-keyboard.bin").c_str(), 1);
        for (const char* name : {"QUILLMAR_SIM_TRACE", "QUILLMAR_SIM_CONTROL", "QUILLMAR_SIM_UNPLUGGED"})
            ::unsetenv(name);
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
    }

    sim::SimKeyboard& keyboard() { return sim::sharedSimKeyboard(); }
    KeyboardReadSource source(std::size_t macroMemory = 8192) {
        return {link_->commands(), link_->presence().defaultKeyTable(), texts_, macroMemory};
    }

    void putEntry(int profile, int position, Bytes entry) {
        ASSERT_TRUE(keyboard().writeMemory(SimArea::KeyBlocks, static_cast<std::size_t>(profile * 378 + position * 3), entry));
    }

    const keyboard::KeyAssignment& record(config::ConfigStore& store, int profile, int slot) {
        return store.records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, slot))];
    }

    // The file loaded into a store of its own.
    std::unique_ptr<config::ConfigStore> loaded(const std::filesystem::path& path) {
        auto store = std::make_unique<config::ConfigStore>();
        EXPECT_EQ(loadConfigurationFile(*store, path), 1);
        return store;
    }

    testing::TempFolder folder_;
    const device::HidService service_ = quillmar::testing::linkedSimService();
    device::testing::RecordingWindow window_;
    testing::RecordingPrompt prompt_;
    text::BuiltInTexts texts_;
    std::unique_ptr<device::DeviceLink> link_;
};

TEST_F(KeyboardReadbackTest, TheFileHoldsTheKeyboardsBlocksAndMacrosAndNoTexts) {
    putEntry(0, kPositionOfA, {0x02, 0x02, 0x05});  // B
    putEntry(2, kPositionOfF1, {0x05, 0x01, 0x01});  // the second macro
    putEntry(1, kPositionOfA, {0x00, 0x00, 0x00});  // disabled
    const config::MacroList macros = {macroOf(u"first", 7, 3, {press(0x1E, 120), release(0x1E, 30)}),
                                      macroOf(u"second", 9, 1, {press(0x2A)})};
    ASSERT_TRUE(keyboard().writeMemory(SimArea::MacroArea, 0, config::buildMacroArea(macros, true)));

    std::vector<std::pair<int, int>> steps;
    const auto path = folder_ / "read.kbp";
    ASSERT_EQ(readKeyboardIntoFile(source(), path, [&](int done, int total) { steps.emplace_back(done, total); }), 1);
    EXPECT_EQ(steps.back(), std::make_pair(5, 5));

    const Bytes bytes = testing::readBytes(path);
    HeaderBytes header{};
    std::copy_n(bytes.begin(), header.size(), header.begin());
    EXPECT_TRUE(passesHeaderCheck(header));
    const ProfileFileHeader decoded = decodeHeader(header);
    EXPECT_EQ(decoded.macroCount, 2);
    EXPECT_EQ(decoded.textAreaSize, 0u) << "no texts come from the keyboard";
    EXPECT_EQ(bytes.size(), kAssignmentBlockSize + 2 * kMacroRecordSize);

    const auto store = loaded(path);
    auto held = store->lock();
    EXPECT_EQ(record(*store, 0, kSlotOfA).type, AssignmentType::Key);
    EXPECT_EQ(record(*store, 0, kSlotOfA).value, 0x30u);
    EXPECT_EQ(record(*store, 1, kSlotOfA).type, AssignmentType::Disabled);
    EXPECT_EQ(record(*store, 2, kSlotOfF1).type, AssignmentType::PlayMacro);
    EXPECT_EQ(record(*store, 2, kSlotOfF1).value, 2u) << "the keyboard's second macro";
    EXPECT_EQ(record(*store, 1, 0x100).extra, 0x301) << "G-key codes in every profile slot";
    for (int slot = 0; slot < keyboard::kSlotsPerProfile; ++slot)
        ASSERT_EQ(record(*store, 3, slot).extra, 0) << "profile slot 3 stays empty";
    ASSERT_EQ(store->macroCount(), 2);
    EXPECT_EQ(config::macroName(store->macros()[1]), u"second");
    EXPECT_EQ(store->macros()[1].id, 2);
    EXPECT_EQ(store->macros()[0].loopCount, 3);
    EXPECT_EQ(store->macros()[0].actions[0].delayMs, 120u);
}

TEST_F(KeyboardReadbackTest, AMacroAreaWithoutItsMagicGivesNoMacros) {
    ASSERT_TRUE(keyboard().writeMemory(SimArea::MacroArea, 0, config::buildMacroArea({macroOf(u"m", 1, 1, {})}, true)));
    ASSERT_TRUE(keyboard().writeMemory(SimArea::MacroArea, 0, Bytes{0x55, 0xAA}));
    const auto path = folder_ / "read.kbp";
    ASSERT_EQ(readKeyboardIntoFile(source(), path), 1);
    const auto store = loaded(path);
    EXPECT_EQ(store->macroCount(), 0);
}

TEST_F(KeyboardReadbackTest, AMacroAreaClaimingMoreThanTheMemoryIsReadAsFarAsTheMemoryGoes) {
    const config::MacroList macros = {macroOf(u"kept", 1, 2, {press(0x1E)})};
    Bytes area = config::buildMacroArea(macros, true);
    area[2] = 0xFF;
    area[3] = 0xFF;
    ASSERT_TRUE(keyboard().writeMemory(SimArea::MacroArea, 0, area));
    const auto path = folder_ / "read.kbp";
    ASSERT_EQ(readKeyboardIntoFile(source(), path), 1);
    const auto store = loaded(path);
    ASSERT_EQ(store->macroCount(), 1);
    EXPECT_EQ(config::macroName(store->macros()[0]), u"kept");
}

TEST_F(KeyboardReadbackTest, AFailedReadLeavesTheFileAsItWas) {
    const auto path = folder_ / "files" / "read.kbp";
    std::filesystem::create_directory(path.parent_path());
    testing::writeBytes(path, {1, 2, 3});
    const auto unchanged = [&] {
        return testing::readBytes(path) == Bytes{1, 2, 3} && std::distance(std::filesystem::directory_iterator(path.parent_path()), {}) == 1;
    };

    keyboard().answerWithStatus(0xFF, device::CommandTransaction::kAttempts);
    EXPECT_EQ(readKeyboardIntoFile(source(), path), 0) << "key block refused";
    EXPECT_TRUE(unchanged());
    keyboard().clearFaults();

    // The keyboard refuses to read beyond its 8192 bytes of macro memory.
    ASSERT_TRUE(keyboard().writeMemory(SimArea::MacroArea, 0, Bytes{0xAA, 0x55, 0x00, 0x40}));
    EXPECT_EQ(readKeyboardIntoFile(source(0x4000), path), 0) << "macro area refused";
    EXPECT_TRUE(unchanged());

    keyboard().unplug();
    link_->waitForWorkers();
    link_->commands().forgetActiveProfile();
    EXPECT_EQ(readKeyboardIntoFile(source(), path), 0) << "no keyboard";
    EXPECT_TRUE(unchanged());
}

TEST_F(KeyboardReadbackTest, RefreshLoadsTheKeyboardOrFallsBackToDefaults) {
    const UserFolder folder(folder_ / "Documents" / "Gaming Keyboard");
    putEntry(0, kPositionOfA, {0x00, 0x00, 0x00});
    config::ConfigStore working;
    working.replaceMacros({macroOf(u"unsaved edit", 1, 1, {})});

    int redraws = 0;
    int prepared = 0;
    RefreshResult result = refreshFromKeyboard(working, folder, source(), false, [&] { ++redraws; }, [&] { ++prepared; });
    EXPECT_TRUE(result.fromKeyboard);
    EXPECT_TRUE(result.disableApply);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(prepared, 1) << "the folder was made";
    EXPECT_EQ(working.macroCount(), 0) << "the keyboard's content replaces unapplied edits";
    {
        auto held = working.lock();
        EXPECT_EQ(record(working, 0, kSlotOfA).type, AssignmentType::Disabled);
    }
    const Bytes fromKeyboard = testing::readBytes(folder.profileFile());
    EXPECT_EQ(fromKeyboard.size(), kAssignmentBlockSize);

    keyboard().unplug();
    link_->waitForWorkers();
    link_->commands().forgetActiveProfile();
    result = refreshFromKeyboard(working, folder, source(), true, [&] { ++redraws; });
    EXPECT_FALSE(result.fromKeyboard);
    EXPECT_FALSE(result.disableApply);
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(prepared, 1);
    auto held = working.lock();
    EXPECT_EQ(record(working, 0, kSlotOfA).type, AssignmentType::Default) << "the default configuration";
    EXPECT_EQ(testing::readBytes(folder.profileFile()), fromKeyboard) << "the profile file is left as it is";
}

}  // namespace
}  // namespace quillmar::profiles
