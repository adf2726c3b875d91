// Switching the keyboard's active profile from the main window, against the
// simulated keyboard: what the keyboard receives, what becomes of unapplied
// edits, and what the window is asked to show.

#include "config/ApplyChanges.h"
#include "config/Configuration.h"
#include "device/DeviceLink.h"
#include "device/RecordingWindow.h"
#include "device/ResultCode.h"
#include "hidlane/hidlane.h"
#include "hidlane/sim/SimKeyboard.h"
#include "lighting/LightingControl.h"
#include "platform/TempFolder.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileSwitching.h"
#include "support/LinkedSimService.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace quillmar::profiles {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using Bytes = std::vector<std::uint8_t>;
using keyboard::AssignmentType;

constexpr int kSlotOfA = 0x1E;
constexpr int kCommandWriteDeviceInfo = 4;
constexpr int kCommandWriteProfileKeys = 8;
const std::u16string kEditorOpen = u"When fast switch scene mode, you must first close the editor dialog box.";
const std::u16string kSaveQuestion = u"Whether to save the profile settings made?";

std::string narrow(const std::u16string& text) { return {text.begin(), text.end()}; }

// The main window as switching sees it: switches to set, and a line per call.
class FakeWindow final : public ProfileWindow {
public:
    bool editorOpen = false;
    bool applyEnabled = false;
    bool profileDialogOpen = false;
    bool profileDialogApplyEnabled = false;
    std::function<bool()> apply = [] { return true; };
    std::vector<std::string> calls;
    ProfileMenu menu;

    bool isEditorOpen() const override { return editorOpen; }
    bool isApplyEnabled() const override { return applyEnabled; }
    void disableApply() override { applyEnabled = false; calls.push_back("disable apply"); }
    void runApply() override {
        calls.push_back("apply");
        if (apply()) applyEnabled = false;
    }
    bool isProfileDialogOpen() const override { return profileDialogOpen; }
    bool isProfileDialogApplyEnabled() const override { return profileDialogApplyEnabled; }
    void showProfileInDialog(int profile) override {
        profileDialogApplyEnabled = false;
        calls.push_back("dialog row " + std::to_string(profile));
    }
    void selectProfileButton(int profile) override { calls.push_back("select " + std::to_string(profile)); }
    void refreshKeyButtons(int profile) override { calls.push_back("keys " + std::to_string(profile)); }
    void leaveColourKeysMode(const std::u16string& switchText) override {
        calls.push_back("leave colour keys: " + narrow(switchText));
    }
    void refillColourSchemes(int profile) override { calls.push_back("schemes " + std::to_string(profile)); }
    void refreshLightingControls() override { calls.push_back("lighting controls"); }
    void closeLightingPanel() override { calls.push_back("close panel"); }
    void showProfileMenu(const ProfileMenu& shown) override {
        menu = shown;
        calls.push_back("menu " + narrow(shown.caption));
    }
};

// Answers the save question as told, optionally doing something while it is open.
class ScriptedPrompt final : public platform::Prompt {
public:
    bool answer = false;
    std::function<void()> whileAsking;
    std::vector<std::u16string> messages;
    std::vector<std::u16string> questions;

    void showMessage(const std::u16string& text) override { messages.push_back(text); }
    bool askYesNo(const std::u16string& text) override {
        questions.push_back(text);
        if (whileAsking) std::exchange(whileAsking, nullptr)();
        return answer;
    }
};

// One request the keyboard received: its command byte and data bytes.
struct Request {
    int command = 0;
    Bytes data;
};

Request requestOf(const std::string& line) {
    std::istringstream hex(line.substr(2));
    Bytes bytes;
    for (unsigned value; hex >> std::hex >> value;) bytes.push_back(static_cast<std::uint8_t>(value));
    if (bytes.size() < 8) return {};
    return {bytes[3], Bytes(bytes.begin() + 8, bytes.end())};
}

class ProfileSwitchingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QUILLMAR_SIM_STATE", (folder / "sim-keyboard.bin").c_str(), 1);
        for (const char* name : {"QUILLMAR_SIM_TRACE", "QUILLMAR_SIM_CONTROL", "QUILLMAR_SIM_UNPLUGGED"})
            ::unsetenv(name);
        ASSERT_GT(Init(0), 0);
        const device::LinkTiming quick{5000ms, 1ms, 20ms, 1ms, 1ms, 1ms};
        link = std::make_unique<device::DeviceLink>(quillmar::testing::linkedSimService(), linkWindow,
                                                    linkPrompt, texts, quick);
        link->publish();
        link->RegisterConsumerRead();
        link->RegisterCommandRead();
        lighting = std::make_unique<lighting::LightingControl>(link->commands(), KtvlSettings(folder / "ktvl.ini"));
        switching = std::make_unique<ProfileSwitching>(link->commands(), configuration.working, profileFile,
                                                       *lighting, window, prompt, texts);
        window.apply = [this] {
            const config::DownloadTarget target{link->commands(), 8192, keyboard::kBuiltInDefaultKeyTable,
                                                prompt, texts};
            const auto save = [this] { return saveProfileFile(configuration.working, profileFile); };
            return config::applyChanges(true, configuration, save, target);
        };
    }

    void TearDown() override {
        End();
        link->waitForWorkers();
        switching.reset();
        lighting.reset();
        link.reset();
        ::unsetenv("QUILLMAR_SIM_STATE");
    }

    sim::SimKeyboard& keyboard() { return sim::sharedSimKeyboard(); }

    void startOnProfile(int profile) {
        const Bytes active{static_cast<std::uint8_t>(profile)};
        ASSERT_TRUE(keyboard().writeMemory(sim::SimArea::DeviceInfo, sim::kActiveProfileByte, active));
        link->commands().forgetActiveProfile();
        keyboard().clearTrace();
    }

    int profileOnKeyboard() {
        return keyboard().readMemory(sim::SimArea::DeviceInfo, sim::kActiveProfileByte, 1).at(0);
    }

    std::vector<Request> requests() {
        std::vector<Request> seen;
        for (const std::string& line : keyboard().traceLines()) {
            if (line.starts_with("> ")) seen.push_back(requestOf(line));
        }
        return seen;
    }

    std::vector<int> commandsSent() {
        std::vector<int> commands;
        for (const Request& request : requests()) commands.push_back(request.command);
        return commands;
    }

    // The active profile of every device info block written, in order.
    std::vector<int> profilesWritten() {
        std::vector<int> profiles;
        for (const Request& request : requests()) {
            if (request.command == kCommandWriteDeviceInfo) profiles.push_back(request.data.at(10));
        }
        return profiles;
    }

    keyboard::KeyAssignment& workingRecord(int profile, int slot) {
        return configuration.working.records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, slot))];
    }

    Bytes keyBlockOnKeyboard(int profile) {
        return keyboard().readMemory(sim::SimArea::KeyBlocks, static_cast<std::size_t>(profile) * 378, 378);
    }

    // Profile 0's A key remapped to B and saved to the profile file, then
    // changed again without applying.
    void saveRemapThenEditUnapplied() {
        workingRecord(0, kSlotOfA) = {AssignmentType::Key, 0, 0x30};
        ASSERT_EQ(writeConfigurationFile(configuration.working, profileFile), 1);
        workingRecord(0, kSlotOfA) = {AssignmentType::Disabled};
        window.applyEnabled = true;
    }

    quillmar::testing::TempFolder folder;
    const std::filesystem::path profileFile = folder / "$Profile0";
    device::testing::RecordingWindow linkWindow;
    device::testing::RecordingPrompt linkPrompt;
    text::BuiltInTexts texts;
    std::unique_ptr<device::DeviceLink> link;
    config::Configuration configuration;
    std::unique_ptr<lighting::LightingControl> lighting;
    FakeWindow window;
    ScriptedPrompt prompt;
    std::unique_ptr<ProfileSwitching> switching;
};

TEST_F(ProfileSwitchingTest, PressingAnotherProfilesButtonSwitchesAndShowsIt) {
    startOnProfile(0);
    window.profileDialogOpen = true;

    switching->profileButtonPressed(2);

    EXPECT_EQ(profileOnKeyboard(), 2);
    EXPECT_THAT(profilesWritten(), ElementsAre(2));
    EXPECT_EQ(lighting->state().profile, 2);
    EXPECT_THAT(window.calls, ElementsAre("schemes 2", "lighting controls", "dialog row 2", "keys 2",
                                          "menu $Profile0", "select 2",
                                          "leave colour keys: Switch to the color keys mode"));
    EXPECT_EQ(window.menu.checkedPosition, 4u);
    EXPECT_THAT(prompt.messages, IsEmpty());
    EXPECT_THAT(prompt.questions, IsEmpty());
}

// Pulled out as the press begins: the keyboard keeps its profile, and so does
// the button shown.
TEST_F(ProfileSwitchingTest, AKeyboardPulledOutDuringAPressKeepsItsProfileShown) {
    startOnProfile(0);
    keyboard().unplugAfterRequests(0);

    switching->profileButtonPressed(2);

    EXPECT_EQ(profileOnKeyboard(), 0);
    EXPECT_THAT(window.calls, Not(Contains("select 2")));
}

TEST_F(ProfileSwitchingTest, PressingTheActiveProfilesButtonReloadsItsLightingOnly) {
    startOnProfile(1);
    ASSERT_TRUE(KtvlSettings(folder / "ktvl.ini").setLightingPanelOpen(true));
    const Bytes brightness{3};
    ASSERT_TRUE(keyboard().writeMemory(sim::SimArea::Settings, 42 + 1, brightness));

    switching->profileButtonPressed(1);

    EXPECT_THAT(profilesWritten(), IsEmpty());
    EXPECT_THAT(commandsSent(), Contains(5)) << "the settings records were read";
    EXPECT_EQ(lighting->state().profile, 1);
    EXPECT_EQ(lighting->state().brightness, 3);
    EXPECT_THAT(window.calls, ElementsAre("schemes 1", "lighting controls", "close panel"));
}

TEST_F(ProfileSwitchingTest, AnOpenEditorRefusesTheSwitchAndChangesNothing) {
    startOnProfile(0);
    window.editorOpen = true;
    window.applyEnabled = true;

    switching->profileButtonPressed(2);
    EXPECT_EQ(switching->switchProfile(1), 0);

    EXPECT_EQ(profileOnKeyboard(), 0);
    EXPECT_THAT(profilesWritten(), IsEmpty());
    EXPECT_EQ(lighting->state().profile, 0);
    EXPECT_THAT(prompt.messages, ElementsAre(kEditorOpen, kEditorOpen));
    EXPECT_THAT(prompt.questions, IsEmpty());
    EXPECT_THAT(window.calls, IsEmpty());
    EXPECT_TRUE(window.applyEnabled);
}

TEST_F(ProfileSwitchingTest, ANumberOutsideTheProfilesSwitchesToTheFirst) {
    for (const int requested : {3, 7, -1}) {
        startOnProfile(1);
        EXPECT_EQ(switching->switchProfile(requested), 1) << requested;
        EXPECT_EQ(profileOnKeyboard(), 0) << requested;
    }
}

TEST_F(ProfileSwitchingTest, AnsweringNoDiscardsTheEditsByReloadingTheProfileFile) {
    startOnProfile(0);
    saveRemapThenEditUnapplied();
    const Bytes block0 = keyBlockOnKeyboard(0);

    EXPECT_EQ(switching->switchProfile(1), 1);

    EXPECT_THAT(prompt.questions, ElementsAre(kSaveQuestion));
    EXPECT_EQ(workingRecord(0, kSlotOfA).type, AssignmentType::Key) << "the edit is lost";
    EXPECT_EQ(workingRecord(0, kSlotOfA).value, 0x30u);
    EXPECT_FALSE(window.applyEnabled);
    EXPECT_EQ(profileOnKeyboard(), 1);
    EXPECT_THAT(commandsSent(), Not(Contains(kCommandWriteProfileKeys)));
    EXPECT_EQ(keyBlockOnKeyboard(0), block0);
    EXPECT_THAT(window.calls, ElementsAre("disable apply", "keys 1", "menu $Profile0"));
    EXPECT_FALSE(switching->isAskingToSave());
}

TEST_F(ProfileSwitchingTest, AnsweringNoWithoutAProfileFileFallsBackToTheDefaults) {
    startOnProfile(0);
    workingRecord(0, kSlotOfA) = {AssignmentType::Disabled};
    window.applyEnabled = true;

    EXPECT_EQ(switching->switchProfile(2), 1);

    EXPECT_EQ(workingRecord(0, kSlotOfA).type, AssignmentType::Default);
    EXPECT_EQ(profileOnKeyboard(), 2);
    EXPECT_FALSE(std::filesystem::exists(profileFile));
}

TEST_F(ProfileSwitchingTest, AnsweringYesDownloadsTheOldProfileThenSwitches) {
    startOnProfile(0);
    saveRemapThenEditUnapplied();
    workingRecord(1, kSlotOfA) = {AssignmentType::Disabled};  // the new profile's edit is not sent
    const Bytes block0 = keyBlockOnKeyboard(0);
    const Bytes block1 = keyBlockOnKeyboard(1);
    prompt.answer = true;

    EXPECT_EQ(switching->switchProfile(1), 1);

    EXPECT_EQ(keyBlockOnKeyboard(1), block1);
    EXPECT_NE(keyBlockOnKeyboard(0), block0) << "profile 0 received its disabled key";
    EXPECT_EQ(profileOnKeyboard(), 1);
    const std::vector<int> sent = commandsSent();
    const auto firstBlock = std::ranges::find(sent, kCommandWriteProfileKeys);
    const auto switchWrite = std::ranges::find(sent, kCommandWriteDeviceInfo);
    EXPECT_LT(firstBlock, switchWrite) << "downloaded before switching";
    EXPECT_EQ(std::ranges::count(sent, kCommandWriteProfileKeys), 7);
    EXPECT_EQ(workingRecord(0, kSlotOfA).type, AssignmentType::Disabled) << "the edit is kept";
    EXPECT_FALSE(window.applyEnabled);

    config::ConfigStore saved;
    ASSERT_EQ(loadConfigurationFile(saved, profileFile), 1);
    EXPECT_EQ(saved.records()[static_cast<std::size_t>(kSlotOfA)].type, AssignmentType::Disabled);
}

TEST_F(ProfileSwitchingTest, UnappliedEditsOfTheProfileDialogAlsoAsk) {
    startOnProfile(0);
    window.profileDialogOpen = true;
    window.profileDialogApplyEnabled = true;

    EXPECT_EQ(switching->switchProfile(2), 1);

    EXPECT_THAT(prompt.questions, ElementsAre(kSaveQuestion));
    EXPECT_EQ(profileOnKeyboard(), 2);
}

TEST_F(ProfileSwitchingTest, ASwitchAskedForDuringTheSaveQuestionGoesAheadWithoutAsking) {
    startOnProfile(0);
    saveRemapThenEditUnapplied();
    bool guardSetDuringQuestion = false;
    prompt.whileAsking = [this, &guardSetDuringQuestion] {
        guardSetDuringQuestion = switching->isAskingToSave();
        EXPECT_EQ(switching->switchProfile(2), 1);
        EXPECT_TRUE(switching->isAskingToSave()) << "still asking";
    };

    EXPECT_EQ(switching->switchProfile(1), 1);

    EXPECT_TRUE(guardSetDuringQuestion);
    EXPECT_THAT(prompt.questions, ElementsAre(kSaveQuestion));
    EXPECT_THAT(profilesWritten(), ElementsAre(2, 1));
    EXPECT_EQ(profileOnKeyboard(), 1);
    EXPECT_FALSE(switching->isAskingToSave());

    // The question is over: the next switch with edits asks again.
    window.applyEnabled = true;
    switching->switchProfile(0);
    EXPECT_EQ(prompt.questions.size(), 2u);
}

TEST_F(ProfileSwitchingTest, TheMenuShowsTheDefaultProfileWhenTheKeyboardCannotTell) {
    startOnProfile(2);
    EXPECT_EQ(switching->rebuildProfileMenu().checkedPosition, 4u);

    keyboard().unplug();
    link->commands().forgetActiveProfile();
    EXPECT_EQ(switching->switchProfile(1), 1);

    EXPECT_EQ(window.menu.checkedPosition, 0u);
    EXPECT_EQ(window.menu.caption, u"<Default Profile>");
    EXPECT_THAT(window.calls, Not(Contains("keys 1")));
    switching->showActiveProfile();
    EXPECT_THAT(window.calls, Not(Contains("select 1")));
}

TEST_F(ProfileSwitchingTest, ShowingTheActiveProfileSelectsItsButtonAndLighting) {
    startOnProfile(2);
    switching->showActiveProfile();
    EXPECT_THAT(window.calls, ElementsAre("select 2"));
    EXPECT_EQ(lighting->state().profile, 2);
    EXPECT_THAT(commandsSent(), ElementsAre(3)) << "the device info only";
}

TEST(ProfileMenuTest, ChecksTheActiveProfileAndCaptionsTheProfileButtonWithIt) {
    const text::BuiltInTexts texts;
    struct Case {
        int active;
        std::size_t checked;
        std::u16string caption;
    };
    for (const Case& c : {Case{0, 2, u"$Profile0"}, Case{1, 3, u"$Profile0"}, Case{2, 4, u"$Profile0"},
                          Case{-1, 0, u"<Default Profile>"}, Case{3, 0, u"<Default Profile>"}}) {
        const ProfileMenu menu = buildProfileMenu(c.active, "/home/u/Documents/Gaming Keyboard/$Profile0", texts);
        EXPECT_EQ(menu.checkedPosition, c.checked) << c.active;
        EXPECT_EQ(menu.caption, c.caption) << c.active;
        EXPECT_EQ(menu.tooltip, u"The current contextual  mode: " + c.caption) << c.active;
        ASSERT_EQ(menu.items.size(), 5u);
        for (std::size_t i = 0; i < menu.items.size(); ++i)
            EXPECT_EQ(menu.items[i].checked, i == c.checked) << c.active << " item " << i;
    }
}

TEST(ProfileMenuTest, ListsTheDefaultASeparatorAndOneItemPerProfile) {
    const text::BuiltInTexts texts;
    const ProfileMenu menu = buildProfileMenu(0, "/tmp/folder.d/saved.kbp", texts);
    EXPECT_THAT(menu.items, ElementsAre(ProfileMenuItem{u"<Default Profile>", 9000, false, false},
                                        ProfileMenuItem{u"", 0, true, false},
                                        ProfileMenuItem{u"saved", 9001, false, true},
                                        ProfileMenuItem{u"saved", 9002, false, false},
                                        ProfileMenuItem{u"saved", 9003, false, false}));
}

}  // namespace
}  // namespace quillmar::profiles
