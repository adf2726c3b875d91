// The lighting actions against the simulated keyboard, through the program's
// own device link: what reaches the keyboard, request by request, and what
// its memory holds afterwards.

#include "device/DeviceLink.h"
#include "device/RecordingWindow.h"
#include "device/ResultCode.h"
#include "hidlane/hidlane.h"
#include "hidlane/sim/SimKeyboard.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingControl.h"
#include "platform/TempFolder.h"
#include "support/LinkedSimService.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>

namespace quillmar::lighting {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

// One request of the trace in words: "begin", "end", "info", "read 42",
// "write 57: 02".
std::string describeRequest(const std::string& line) {
    std::istringstream hex(line.substr(2));
    Bytes bytes;
    for (unsigned value; hex >> std::hex >> value;) bytes.push_back(static_cast<std::uint8_t>(value));
    if (bytes.size() < 8) return "short " + line;
    const int address = bytes[5] | bytes[6] << 8;
    switch (bytes[3]) {
    case 1: return "begin";
    case 2: return "end";
    case 3: return "info";
    case 5: return "read " + std::to_string(address);
    case 6: {
        std::string text = "write " + std::to_string(address) + ":";
        for (std::size_t i = 0; i < bytes[4] && 8 + i < bytes.size(); ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, " %02X", bytes[8 + i]);
            text += byte;
        }
        return text;
    }
    default: return "command " + std::to_string(bytes[3]);
    }
}

class LightingDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QUILLMAR_SIM_STATE", (folder / "sim-keyboard.bin").c_str(), 1);
        for (const char* name : {"QUILLMAR_SIM_TRACE", "QUILLMAR_SIM_CONTROL", "QUILLMAR_SIM_UNPLUGGED"})
            ::unsetenv(name);
        ASSERT_GT(Init(0), 0);
        const device::LinkTiming quick{5000ms, 1ms, 20ms, 1ms, 1ms, 1ms};
        link = std::make_unique<device::DeviceLink>(quillmar::testing::linkedSimService(), window, prompt, texts, quick);
        link->publish();
        link->RegisterConsumerRead();
        link->RegisterCommandRead();
        lighting = std::make_unique<LightingControl>(link->commands(), panelSetting());
        keyboard().clearTrace();
    }

    void TearDown() override {
        End();
        link->waitForWorkers();
        lighting.reset();
        link.reset();
        ::unsetenv("QUILLMAR_SIM_STATE");
    }

    sim::SimKeyboard& keyboard() { return sim::sharedSimKeyboard(); }
    profiles::KtvlSettings panelSetting() const { return profiles::KtvlSettings(folder / "ktvl.ini"); }

    // The requests the keyboard received since the last call.
    std::vector<std::string> takeRequests() {
        std::vector<std::string> requests;
        for (const std::string& line : keyboard().traceLines()) {
            if (line.starts_with("> ")) requests.push_back(describeRequest(line));
        }
        keyboard().clearTrace();
        return requests;
    }

    Bytes settingsMemory(std::size_t address, std::size_t length) const {
        return sim::sharedSimKeyboard().readMemory(sim::SimArea::Settings, address, length);
    }

    testing::TempFolder folder;
    device::testing::RecordingWindow window;
    device::testing::RecordingPrompt prompt;
    text::BuiltInTexts texts;
    std::unique_ptr<device::DeviceLink> link;
    std::unique_ptr<LightingControl> lighting;
};

std::string at(int profile, int offset, const std::string& bytes) {
    return "write " + std::to_string(profile * 42 + offset) + ": " + bytes;
}

// Every action writes its bytes at the current profile's record, in one
// bracket, in the order the keyboard expects.
TEST_F(LightingDeviceTest, EachActionWritesItsBytesAtTheCurrentProfile) {
    struct Action {
        std::string name;
        std::function<int(LightingControl&)> run;
        std::vector<std::pair<int, std::string>> writes;  // offset, bytes
    };
    const std::vector<Action> actions = {
        {"effect 5", [](auto& l) { return l.SelectEffect(5); }, {{0, "05"}, {4, "00"}}},
        {"effect 12", [](auto& l) { return l.SelectEffect(12); }, {{0, "0C"}}},
        {"colour", [](auto& l) { return l.ChooseColour(colourFromRgb(0x12, 0x34, 0x56)); },
         {{4, "00"}, {5, "12 34 56"}}},
        {"multicolour", [](auto& l) { return l.ToggleMulticolour(); }, {{4, "01"}}},
        {"brightness", [](auto& l) { return l.MoveBrightnessSlider(3); }, {{1, "03"}}},
        {"speed", [](auto& l) { return l.MoveSpeedSlider(0); }, {{2, "04"}}},
        {"direction", [](auto& l) { return l.SetDirection(kDirectionFirst); }, {{3, "FF"}}},
        {"same direction", [](auto& l) { return l.SetDirection(kDirectionFirst); }, {{3, "FF"}}},
        {"fixed colour", [](auto& l) { return l.SetFixedColour(2); }, {{17, "02"}}},
        {"report3", [](auto& l) { return l.SetPollingRate(2); }, {{15, "02"}}},
        {"report3 again", [](auto& l) { return l.SetPollingRate(2); }, {{15, "02"}}},
    };
    for (int profile : {0, 1, 2}) {
        lighting->state() = LightingState{};
        lighting->state().profile = profile;
        for (const Action& action : actions) {
            EXPECT_EQ(action.run(*lighting), device::kSuccess) << action.name;
            std::vector<std::string> expected = {"begin"};
            for (const auto& [offset, bytes] : action.writes) expected.push_back(at(profile, offset, bytes));
            expected.push_back("end");
            EXPECT_EQ(takeRequests(), expected) << action.name << ", profile " << profile;
        }
        EXPECT_EQ(settingsMemory(profile * 42, 18),
                  (Bytes{12, 3, 4, 255, 1, 0x12, 0x34, 0x56, 8, 255, 255, 255, 255, 0, 0, 2, 255, 2}))
            << "profile " << profile;
    }
}

TEST_F(LightingDeviceTest, Report3OfProfile1IsTheByteTwoAtAddress57) {
    lighting->state().profile = 1;
    lighting->SetPollingRate(2);
    const auto lines = keyboard().traceLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(lines[2].starts_with("> 04 42 00 06 01 39 00 00 02 00")) << lines[2];
    EXPECT_EQ(settingsMemory(57, 1), Bytes{2});
}

TEST_F(LightingDeviceTest, ReadingTakesTheListTheRecordsAndThePanelSetting) {
    LightingRecord record{};
    record[0] = 18;
    record[1] = 2;
    record[2] = 3;
    record[3] = 255;
    record[4] = 0;
    record[5] = 0xA0, record[6] = 0xB0, record[7] = 0xC0;
    record[15] = 255;
    record[17] = 7;
    record[19] = 1;
    record[30] = 9, record[33] = 1;
    ASSERT_TRUE(keyboard().writeMemory(sim::SimArea::Settings, 84, record));
    Bytes effects(32, 0);
    effects[0] = 3, effects[2] = 20, effects[3] = 19;
    ASSERT_TRUE(keyboard().writeMemory(sim::SimArea::DeviceInfo, 12, effects));
    ASSERT_TRUE(panelSetting().setLightingPanelOpen(true));
    lighting->state().profile = 2;

    ASSERT_EQ(lighting->ReadLightingState(), 0);

    EXPECT_THAT(takeRequests(), ElementsAre("info", "begin", "read 0", "read 42", "read 84", "end"));
    const LightingState& state = lighting->state();
    EXPECT_THAT(lightingFields(state),
                ElementsAre(std::pair("effect", "18"), std::pair("brightness", "2"), std::pair("speed", "3"),
                            std::pair("direction", "255"), std::pair("multicolour", "0"),
                            std::pair("colour", "A0B0C0"), std::pair("pollingRate", "3"),
                            std::pair("fixedColour", "0"), std::pair("trigger", "grid"),
                            std::pair("secondColour", "000000"), std::pair("secondMulticolour", "0"),
                            std::pair("thirdColour", "090000"), std::pair("thirdMulticolour", "1")));
    EXPECT_TRUE(state.panelOpen);
    EXPECT_EQ(state.mirror[2], record);
    EXPECT_THAT(state.mirror[0], ::testing::ElementsAreArray(settingsMemory(0, 42)));
    const EffectIndexMap positions(state.effects);
    EXPECT_EQ(positions.size(), 3);
    EXPECT_EQ(positions.positionOf(20), 1);

    // A trigger byte of neither 0 nor 1 leaves the flags as they were.
    ASSERT_TRUE(keyboard().writeMemory(sim::SimArea::Settings, 84 + 19, Bytes{5}));
    ASSERT_EQ(lighting->ReadLightingState(), 0);
    EXPECT_TRUE(lighting->state().gridTrigger);
    EXPECT_FALSE(lighting->state().singleKeyTrigger);
}

TEST_F(LightingDeviceTest, ValuesAlreadyHeldAndUnknownEffectsWriteNothing) {
    ASSERT_EQ(lighting->ReadLightingState(), 0);  // factory record: brightness 4, speed 1
    takeRequests();
    EXPECT_EQ(lighting->MoveBrightnessSlider(4), kNothingWritten);
    EXPECT_EQ(lighting->MoveSpeedSlider(3), kNothingWritten);
    EXPECT_EQ(lighting->SelectEffect(19), kNothingWritten);
    EXPECT_EQ(lighting->MoveSpeedSlider(7), kNothingWritten);
    EXPECT_TRUE(takeRequests().empty());
    EXPECT_EQ(lighting->state().effect, 1);

    EXPECT_EQ(lighting->MoveSpeedSlider(4), device::kSuccess);
    EXPECT_THAT(takeRequests(), ElementsAre("begin", "write 2: 00", "end"));
}

TEST_F(LightingDeviceTest, RestoringDefaultsWritesTheDefaultRecordAtTheProfile) {
    const Bytes junk(42, 0x77);
    ASSERT_TRUE(keyboard().writeMemory(sim::SimArea::Settings, 84, junk));
    lighting->state().profile = 2;

    EXPECT_EQ(lighting->RestoreLightingDefaults(), device::kSuccess);

    EXPECT_THAT(takeRequests(),
                ElementsAre("begin", "write 84: 01", "write 88: 00", "end", "begin",
                            "write 84: 01 04 01 00 FF FF 00 00 08 FF FF FF FF 00 00 FF FF 00 00 00 00 "
                            "FF FF 00 00 FF FF FF 00 00 FF FF FF 00 00",
                            "end"));
    EXPECT_THAT(settingsMemory(84, 35), ElementsAreArray(LightingBlock::kDefaultRecord));
    EXPECT_EQ(settingsMemory(84 + 35, 7), Bytes(7, 0x77));  // beyond the default record

    // What the state shows is what a read-back now gives.
    const LightingState restored = lighting->state();
    ASSERT_EQ(lighting->ReadLightingState(), 0);
    EXPECT_EQ(lightingFields(lighting->state()), lightingFields(restored));
}

TEST_F(LightingDeviceTest, UnreadableDeviceInfoLeavesTheStateButEmptiesTheList) {
    lighting->state().profile = 1;
    ASSERT_EQ(lighting->ReadLightingState(), 0);
    const LightingState before = lighting->state();
    ASSERT_TRUE(keyboard().writeMemory(sim::SimArea::Settings, 42, Bytes(42, 0x03)));
    ASSERT_TRUE(panelSetting().setLightingPanelOpen(true));

    takeRequests();
    keyboard().answerWithStatus(0xFF, 10);
    EXPECT_EQ(lighting->ReadLightingState(), -1);
    keyboard().clearFaults();

    LightingState expected = before;
    expected.effects = {};
    EXPECT_EQ(lighting->state(), expected);
    EXPECT_THAT(takeRequests(), ::testing::Each("info"));
}

TEST_F(LightingDeviceTest, WithoutAKeyboardTheStateStillFollowsTheControls) {
    keyboard().unplug();  // the next test's Init plugs it in again
    EXPECT_EQ(lighting->SetPollingRate(1), device::kNoKeyboard);
    EXPECT_EQ(lighting->ChooseColour(colourFromRgb(1, 2, 3)), device::kNoKeyboard);
    EXPECT_EQ(lighting->state().pollingRate, 1);
    EXPECT_EQ(lighting->state().colour, colourFromRgb(1, 2, 3));
    EXPECT_FALSE(lighting->state().multicolour);
}

TEST_F(LightingDeviceTest, ThePanelSettingIsKeptAcrossRuns) {
    EXPECT_TRUE(lighting->setPanelOpen(true));
    EXPECT_TRUE(lighting->state().panelOpen);
    EXPECT_TRUE(panelSetting().lightingPanelOpen());
    EXPECT_TRUE(lighting->setPanelOpen(false));
    EXPECT_FALSE(panelSetting().lightingPanelOpen());
    EXPECT_TRUE(takeRequests().empty());
}

}  // namespace
}  // namespace quillmar::lighting

namespace quillmar::lighting {
namespace {

// A profile without a scheme file shows every key red; the upload sends the
// table in eight chunks of 18 positions, the last one padded with zeros.
TEST_F(LightingDeviceTest, AnAbsentSchemeUploadsEveryKeyRedInEightChunks) {
    std::vector<std::uint8_t> garbage(512, 0x5A);
    keyboard().writeMemory(sim::SimArea::KeyColours, 2 * 512, garbage);
    KeyColours colours(link->commands(), profiles::UserFolder(folder / "absent"), folder / "no-template");
    EXPECT_FALSE(colours.PrepareUserColourFiles()) << "no template: tried again next time";
    ASSERT_EQ(colours.ApplyColourScheme(2), device::kSuccess);
    const auto requests = takeRequests();
    ASSERT_EQ(requests.size(), 10u);
    EXPECT_EQ(requests.front(), "begin");
    EXPECT_EQ(requests.back(), "end");
    const Bytes area = keyboard().readMemory(sim::SimArea::KeyColours, 2 * 512, 512);
    for (int position = 0; position < kLightingPositions; ++position)
        EXPECT_EQ(Bytes(area.begin() + 3 * position, area.begin() + 3 * position + 3), (Bytes{0xFF, 0, 0})) << position;
    EXPECT_EQ(Bytes(area.begin() + 378, area.begin() + 432), Bytes(54, 0)) << "positions 126 to 143";
    EXPECT_EQ(area[432], 0x5A) << "nothing beyond the last chunk";
    EXPECT_EQ(colours.keyColour(2, 110), (profiles::KeyColour{colourFromRgb(255, 0, 0), true}));
}

}  // namespace
}  // namespace quillmar::lighting
